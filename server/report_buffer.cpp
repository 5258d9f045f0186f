#include "server/report_buffer.h"

#include <unistd.h>

#include <cstring>

namespace tavon::server {

ReportBuffer::~ReportBuffer() {
    if (file_) std::fclose(file_);
}

void ReportBuffer::write(const char* data, std::size_t size) {
    if (failed_) return;
    bytes_.append(data, size);
    size_ += size;
    if (bytes_.size() >= kInMemory) spill();
}

void ReportBuffer::spill() {
    if (!file_) file_ = std::tmpfile();  // no name: it disappears with its descriptor
    const int fd = file_ ? fileno(file_) : -1;
    for (std::size_t done = 0; fd >= 0 && done < bytes_.size();) {
        const ssize_t n = ::write(fd, bytes_.data() + done, bytes_.size() - done);
        if (n <= 0) {
            failed_ = true;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (fd < 0) failed_ = true;
    bytes_.clear();
}

void ReportBuffer::finish() {
    if (file_ && !bytes_.empty()) spill();
}

tavon::Result<void> ReportBuffer::status() const {
    if (failed_) return tavon::Error(tavon::Error::Kind::DiskFull, "report");
    return {};
}

std::size_t ReportBuffer::read(std::size_t offset, char* out, std::size_t capacity) const {
    if (offset >= size_) return 0;
    const std::size_t n = std::min(capacity, size_ - offset);
    if (!file_) {
        std::memcpy(out, bytes_.data() + offset, n);
        return n;
    }
    const ssize_t got = ::pread(fileno(file_), out, n, static_cast<off_t>(offset));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

}  // namespace tavon::server
