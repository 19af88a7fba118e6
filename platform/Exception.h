#pragma once
// Failures are exceptions carrying an English message.

#include <exception>
#include <string>

class Exception : public std::exception {
  public:
    explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
    const std::string& Message() const { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

  private:
    std::string FMessage;
};

// Text that is not a number, or a date or time that does not exist.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};
