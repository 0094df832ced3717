#pragma once

#include <string>

#include "workflow/ExternalConverter.h"

namespace kv::workflow {

// The optional converter library "libtransfercode.so", which exports
// `extern "C" const char* Cominput(const char*)`. It expects its request in
// GBK, as the converter was written for a Chinese system code page.
class TransferCodeLibrary final : public ExternalConverter {
  public:
    // Looked for in `programDir` first, then on the system's library path.
    explicit TransferCodeLibrary(std::string programDir);
    ~TransferCodeLibrary() override;
    TransferCodeLibrary(const TransferCodeLibrary&) = delete;
    TransferCodeLibrary& operator=(const TransferCodeLibrary&) = delete;

    bool Available() override;
    std::string Cominput(const std::string& request) override;

  private:
    using ConvertFunction = const char* (*)(const char*);

    std::string programDir_;
    void* handle_ = nullptr;
    ConvertFunction convert_ = nullptr;
};

// UTF-8 to GBK; the empty text when the text has a character GBK lacks or is
// not valid UTF-8.
std::string Utf8ToGbk(const std::string& text);

}  // namespace kv::workflow
