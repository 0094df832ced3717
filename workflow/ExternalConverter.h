#pragma once

#include <string>

namespace kv::workflow {

// A component outside the program that maps a request text to a key record:
// the last resort when no code style fits a capture.
class ExternalConverter {
  public:
    virtual ~ExternalConverter() = default;
    // Finds the converter; once found it stays loaded for the program's life.
    virtual bool Available() = 0;
    // The key record, or the empty text when there is no answer.
    virtual std::string Cominput(const std::string& request) = 0;
};

// No converter installed: every request gets the empty text.
class NoExternalConverter final : public ExternalConverter {
  public:
    bool Available() override { return false; }
    std::string Cominput(const std::string&) override { return {}; }
};

}  // namespace kv::workflow
