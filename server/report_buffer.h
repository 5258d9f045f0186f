// Where a report waits while the document arrives: HTTP sends the answer only after the whole body
// has been read, and a report can be larger than the document (millions of findings). The first MiB
// stays in memory; beyond it the bytes go to a nameless temporary file, so that any report is
// answered in constant memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "tavon/report.h"

namespace tavon::server {

class ReportBuffer final : public tavon::Output {
  public:
    ReportBuffer() = default;
    ~ReportBuffer() override;
    ReportBuffer(const ReportBuffer&) = delete;
    ReportBuffer& operator=(const ReportBuffer&) = delete;

    void write(const char* data, std::size_t size) override;
    tavon::Result<void> status() const override;
    // All bytes written: the rest goes to the temporary file when there is one.
    void finish();
    std::size_t size() const { return size_; }
    // Up to `capacity` bytes from `offset` into `out` (after finish()); 0 when they cannot be read.
    std::size_t read(std::size_t offset, char* out, std::size_t capacity) const;

  private:
    static constexpr std::size_t kInMemory = std::size_t{1} << 20;
    void spill();

    std::string bytes_;          // all of a small report; the unwritten tail of a large one
    std::FILE* file_ = nullptr;  // a large report's temporary file
    std::size_t size_ = 0;
    bool failed_ = false;
};

}  // namespace tavon::server
