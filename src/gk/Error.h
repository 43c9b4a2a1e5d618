#pragma once

#include <stdexcept>
#include <string>

namespace gk {

// The one failure the sound library and its tools raise; the message is the whole report.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string &message) : std::runtime_error(message) {}
    explicit Error(const char *message) : std::runtime_error(message) {}
};

} // namespace gk
