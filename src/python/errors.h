#pragma once

#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

#include "engine/base/fatal_error.h"

namespace orv::python {

// orv.Error and its kinds, and the translation of the engine's and orvpack's exceptions
// into them, carrying the same texts.
void BindErrors(pybind11::module_& m);

// Bytes the system gave as a path or a text, as Python shows them: UTF-8, with the bytes
// that are not as surrogates (os.fsdecode).
pybind11::str TextOf(const std::string& bytes);

// Whether the engine gave up for want of memory, or for a read beyond the input's limits.
bool IsOutOfMemory(const FatalError& fatal);

// orv.NotAnInputError with text.
[[noreturn]] void ThrowNotAnInput(const std::string& text);
// The OSError subclass of error (FileNotFoundError, IsADirectoryError, PermissionError...)
// with the system's reason and filename, as Python's own open() raises it.
[[noreturn]] void ThrowOsError(int error, const pybind11::object& filename);
// orv.LimitError (a MemoryError): reading what of input would take size bytes, more than
// limit; size 0 where it is not known before reading.
[[noreturn]] void ThrowLimit(const std::string& input, const std::string& what, std::uint64_t size,
                             std::uint64_t limit);
// orv.Error: entry of input cannot be read, for why, in one line naming both.
[[noreturn]] void ThrowInputError(const std::string& input, const std::string& entry, const std::string& why);
// What the engine gave up on while reading entry of input, as one English line naming both;
// the engine's own text is the exception's engine_text. reason: why, where the caller knows.
[[noreturn]] void ThrowEntryError(const std::string& input, const std::string& entry, const FatalError& fatal,
                                  const std::string& reason = {});

}  // namespace orv::python
