#pragma once
#include <stdexcept>
#include <string>
#include <system_error>

namespace fw {

// The framework's exception classes. Every one is a RuntimeException.
class RuntimeException : public std::runtime_error {
 public:
  explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
  // The class name as reported by the unhandled-exception handling.
  virtual const char* ClassName() const { return "RuntimeException"; }
};

class NilObjectException : public RuntimeException {
 public:
  explicit NilObjectException(const std::string& what) : RuntimeException(what) {}
  const char* ClassName() const override { return "NilObjectException"; }
};

// A file that cannot be created, opened, read or written; carries errno,
// and its message ends with the system's words for it and the number:
// "cannot create …: Permission denied (13)".
class IOException : public RuntimeException {
 public:
  IOException(const std::string& what, int errorNumber)
      : RuntimeException(what + ": " + std::generic_category().message(errorNumber) + " (" +
                         std::to_string(errorNumber) + ")"),
        errorNumber_(errorNumber) {}
  int ErrorNumber() const { return errorNumber_; }
  const char* ClassName() const override { return "IOException"; }

 private:
  int errorNumber_;
};

// A failing native call (the display-scale query of the window, for one).
class ObjCException : public RuntimeException {
 public:
  explicit ObjCException(const std::string& what) : RuntimeException(what) {}
  const char* ClassName() const override { return "ObjCException"; }
};

}  // namespace fw
