// GET /: the browser edition's page, from the folder given by --web. The page checks documents in
// the browser; the service only hands out its files.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "server/answers.h"
#include "server/service.h"

namespace tavon::server {
namespace {

struct FileType {
    std::string_view extension;
    std::string_view content_type;
};
// The kinds of file the page consists of; anything else in the folder is not handed out. HTML
// without charset: each page declares its own.
constexpr FileType kTypes[] = {
    {".html", "text/html"},
    {".js", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".json", "application/json"},
    {".png", "image/png"},
    {".svg", "image/svg+xml"},
    {".ico", "image/x-icon"},
};

// Files of the page are small; a larger one is no part of it.
constexpr off_t kMaxFile = off_t{64} << 20;

constexpr Refusal kNoPage{
    404, "web_missing",
    "Stránka pro kontrolu v prohlížeči není na tomto serveru nainstalována (přepínač --web)."};
constexpr Refusal kNoFile{404, "not_found", "Takový soubor stránka nemá."};

}  // namespace

void Service::web_file(const httplib::Request& req, httplib::Response& res) const {
    struct stat info {};
    if (web_folder_.empty() || ::stat(web_folder_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return answer_error(res, kNoPage, false);
    // Only "/" or one name without slash and without leading dot reaches here (before_routing).
    const std::string name = req.path == "/" ? "index.html" : req.path.substr(1);
    const FileType* type = nullptr;
    for (const FileType& t : kTypes)
        if (name.size() > t.extension.size() && name.ends_with(t.extension)) type = &t;
    const std::string path = web_folder_ + "/" + name;
    if (!type || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFile)
        return answer_error(res, req.path == "/" ? kNoPage : kNoFile, false);
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file) return answer_error(res, kNoFile, false);
    res.status = 200;
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(bytes.str(), std::string(type->content_type));
}

}  // namespace tavon::server
