#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace orv::pack {

// Why no archive is written: the text names the file at fault and what is wrong with it.
class PackError : public std::runtime_error {
public:
    explicit PackError(const std::string& text) : std::runtime_error(text) { }
};

// Asked now and then while an archive is made; true abandons it (a signal came).
using PackStop = std::function<bool()>;

inline void StopIfAsked(const PackStop& stop)
{
    if (stop && stop()) throw PackError("stopped by a signal");
}

}  // namespace orv::pack
