#pragma once

#include <stdexcept>
#include <string>

namespace orv::pack {

// Why no archive is written: the text names the file at fault and what is wrong with it.
class PackError : public std::runtime_error {
public:
    explicit PackError(const std::string& text) : std::runtime_error(text) { }
};

}  // namespace orv::pack
