// The library's own exception: a failed argument or state check.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace tavlet {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace tavlet
