#include "platform/sim/SimFiles.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <system_error>

#include "builtins/TextFileEncoding.h"
#include "container/Text.h"

namespace ovrix {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kBadNetPath = 53;
constexpr std::u16string_view kForbidden = u"<>:\"|?*";

int64_t SecondsOf(fs::file_time_type time) {
    using namespace std::chrono;
    return duration_cast<seconds>(file_clock::to_sys(time).time_since_epoch()).count();
}

fs::file_time_type FileTimeOf(int64_t seconds) {
    using namespace std::chrono;
    return file_clock::from_sys(sys_seconds{std::chrono::seconds{seconds}});
}

// The entry of `folder` whose name equals `name` without regard to case.
std::optional<fs::path> FindEntry(const fs::path& folder, std::u16string_view name) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path leaf = it->path().filename();
        if (EqualsNoCase(leaf.u16string(), name)) return it->path();
    }
    return std::nullopt;
}

// Windows drops trailing dots and blanks from a name.
std::u16string_view Trimmed(std::u16string_view name) {
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.remove_suffix(1);
    return name;
}

class SimFileSearch final : public FileSearch {
public:
    explicit SimFileSearch(SimFiles& files) : files_(files) {}

    bool First(std::u16string_view pattern, FoundFile& found) override {
        const size_t cut = pattern.find_last_of(u"\\/");
        const std::u16string_view last = cut == std::u16string_view::npos ? pattern : pattern.substr(cut + 1);
        const std::u16string_view folder =
            cut == std::u16string_view::npos ? std::u16string_view(u".") : pattern.substr(0, cut + 1);
        if (last.empty() || files_.Locate(pattern, true).error != 0) return false;
        const SimFiles::Location at = files_.Locate(folder);
        if (!at.isFolder) return false;
        std::error_code ec;
        for (fs::directory_iterator it(at.real, ec), end; !ec && it != end; it.increment(ec)) {
            if (WildcardMatch(last, it->path().filename().u16string())) matches_.push_back(files_.Describe(it->path()));
        }
        // The order of an NTFS folder: by name, without regard to case.
        std::sort(matches_.begin(), matches_.end(),
                  [](const FoundFile& a, const FoundFile& b) { return LowerCase(a.name) < LowerCase(b.name); });
        return Next(found);
    }

    bool Next(FoundFile& found) override {
        if (next_ >= matches_.size()) return false;
        found = matches_[next_++];
        return true;
    }

private:
    SimFiles& files_;
    std::vector<FoundFile> matches_;
    size_t next_ = 0;
};

}  // namespace

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
    if (pattern == u"*.*") return true;
    // Iterative matching with one backtrack point: the last '*' seen.
    size_t p = 0, n = 0, star = std::u16string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

SimFiles::SimFiles(std::function<int64_t()> now) : now_(std::move(now)) {}

SimFiles::~SimFiles() {
    if (!ownsRoot_) return;
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void SimFiles::UseFolder(fs::path folder) {
    if (ownsRoot_) {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    root_ = std::move(folder);
    ownsRoot_ = false;
}

const fs::path& SimFiles::Root() {
    if (!root_.empty()) return root_;
    std::random_device random;
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = temp / ("ovrix-sim-disk-" + std::to_string(random()));
        if (fs::create_directory(candidate, ec)) {
            // Every Windows desktop has a C: drive.
            fs::create_directory(candidate / "C", ec);
            root_ = candidate;
            ownsRoot_ = true;
            break;
        }
    }
    return root_;
}

uint32_t SimFiles::Split(std::u16string_view path, bool wildcards, std::vector<std::u16string>& parts) const {
    std::u16string text(path);
    std::replace(text.begin(), text.end(), u'/', u'\\');
    if (text.empty()) return fileerror::kPathNotFound;
    if (text.rfind(u"\\\\", 0) == 0) return kBadNetPath;
    std::u16string_view rest = text;
    parts.clear();
    const bool drive = text.size() >= 2 && text[1] == u':' && FoldCase(text[0]) >= u'a' && FoldCase(text[0]) <= u'z';
    const char16_t cwdDrive = cwd_[0];
    if (drive) {
        const char16_t letter = static_cast<char16_t>(FoldCase(text[0]) - u'a' + u'A');
        rest.remove_prefix(2);
        // "D:name" counts from the current folder when it is on that drive.
        if (!rest.empty() && rest[0] == u'\\') {
            parts.push_back(std::u16string(1, letter));
        } else if (letter == cwdDrive) {
            Split(cwd_, false, parts);
        } else {
            parts.push_back(std::u16string(1, letter));
        }
    } else if (rest[0] == u'\\') {
        parts.push_back(std::u16string(1, cwdDrive));
    } else {
        Split(cwd_, false, parts);
    }
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(u'\\', start);
        if (end == std::u16string_view::npos) end = rest.size();
        const std::u16string_view raw = rest.substr(start, end - start);
        start = end + 1;
        if (raw.empty() || raw == u".") continue;
        if (raw == u"..") {
            if (parts.size() <= 1) return fileerror::kAccessDenied;
            parts.pop_back();
            continue;
        }
        const std::u16string_view name = Trimmed(raw);
        if (name.empty()) continue;
        const bool last = end == rest.size();
        for (const char16_t c : name) {
            const bool wildcard = c == u'*' || c == u'?';
            if (c < 0x20 || (kForbidden.find(c) != std::u16string_view::npos && !(wildcard && wildcards && last))) {
                return fileerror::kInvalidName;
            }
        }
        parts.emplace_back(name);
    }
    return 0;
}

SimFiles::Location SimFiles::Locate(std::u16string_view path, bool wildcards) {
    Location at;
    std::vector<std::u16string> parts;
    at.error = Split(path, wildcards, parts);
    if (at.error != 0) return at;
    at.real = Root();
    // Without a folder of its own the disk refuses everything rather than
    // fall back to the process's current folder.
    if (at.real.empty()) {
        at.error = fileerror::kAccessDenied;
        return at;
    }
    at.exists = at.isFolder = true;
    std::error_code ec;
    for (const std::u16string& name : parts) {
        at.parentExists = at.exists && at.isFolder;
        std::optional<fs::path> entry = at.parentExists ? FindEntry(at.real, name) : std::nullopt;
        at.real = entry ? *entry : at.real / fs::path(name);
        at.exists = entry.has_value();
        at.isFolder = at.exists && fs::is_directory(at.real, ec);
    }
    return at;
}

uint32_t SimFiles::Missing(const Location& at) {
    if (at.error != 0) return at.error;
    return at.parentExists ? fileerror::kNotFound : fileerror::kPathNotFound;
}

bool SimFiles::AddFolder(std::u16string_view path) {
    const Location at = Locate(path);
    std::error_code ec;
    return at.error == 0 && (at.isFolder || fs::create_directories(at.real, ec));
}

bool SimFiles::AddFile(std::u16string_view path, std::string_view content) {
    const Location at = Locate(path);
    if (at.error != 0 || at.isFolder) return false;
    std::error_code ec;
    fs::create_directories(at.real.parent_path(), ec);
    std::ofstream out(at.real, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) return false;
    Stamp(at.real, true);
    return true;
}

FoundFile SimFiles::Describe(const fs::path& real) {
    constexpr uint32_t kArchive = 0x20;
    std::error_code ec;
    FoundFile found;
    found.name = real.filename().u16string();
    const bool folder = fs::is_directory(real, ec);
    found.attributes = folder ? kFolderAttribute : kArchive;
    found.size = folder ? 0 : fs::file_size(real, ec);
    if (ec) found.size = 0;
    const fs::file_time_type written = fs::last_write_time(real, ec);
    found.lastWriteTime = found.lastAccessTime = ec ? 0 : SecondsOf(written);
    const auto created = creation_.find(real);
    found.creationTime = created != creation_.end() ? created->second : found.lastWriteTime;
    return found;
}

std::optional<FoundFile> SimFiles::FileInfo(std::u16string_view path) {
    const Location at = Locate(path);
    if (!at.exists) return std::nullopt;
    return Describe(at.real);
}

uint32_t SimFiles::ReadFile(std::u16string_view path, uint64_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const Location at = Locate(path);
    if (!at.exists) return Missing(at);
    if (at.isFolder) return fileerror::kAccessDenied;
    std::ifstream in(at.real, std::ios::binary);
    if (!in) return fileerror::kAccessDenied;
    std::error_code ec;
    const uint64_t size = std::min<uint64_t>(fs::file_size(at.real, ec), maxBytes);
    out.resize(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size));
    out.resize(static_cast<size_t>(in.gcount()));
    return 0;
}

std::unique_ptr<FileSearch> SimFiles::NewSearch() { return std::make_unique<SimFileSearch>(*this); }

bool SimFiles::SetCurrentDirectory(std::u16string_view path) {
    std::vector<std::u16string> parts;
    if (Split(path, false, parts) != 0 || !Locate(path).isFolder) return false;
    cwd_ = parts[0] + u":";
    for (size_t i = 1; i < parts.size(); ++i) cwd_ += u"\\" + parts[i];
    if (parts.size() == 1) cwd_ += u"\\";
    return true;
}


void SimFiles::Stamp(const fs::path& real, bool created) {
    const int64_t now = now_();
    std::error_code ec;
    fs::last_write_time(real, FileTimeOf(now), ec);
    if (created) creation_[real] = now;
}

uint32_t SimFiles::DoCopyFile(std::u16string_view source, std::u16string_view destination) {
    if (fileError != 0) return fileError;
    const Location from = Locate(source);
    if (!from.exists) return Missing(from);
    const Location to = Locate(destination);
    if (to.error != 0) return to.error;
    if (from.isFolder || to.isFolder) return fileerror::kAccessDenied;
    if (!to.parentExists) return fileerror::kPathNotFound;
    std::error_code ec;
    fs::copy_file(from.real, to.real, fs::copy_options::overwrite_existing, ec);
    if (ec) return fileerror::kAccessDenied;
    // A copy keeps its source's last-write time and is created now.
    fs::last_write_time(to.real, fs::last_write_time(from.real, ec), ec);
    if (!to.exists) creation_[to.real] = now_();
    return 0;
}

uint32_t SimFiles::DoDeleteFile(std::u16string_view path) {
    if (fileError != 0) return fileError;
    const Location at = Locate(path);
    if (!at.exists) return Missing(at);
    if (at.isFolder) return fileerror::kAccessDenied;
    std::error_code ec;
    if (!fs::remove(at.real, ec)) return fileerror::kAccessDenied;
    creation_.erase(at.real);
    return 0;
}

uint32_t SimFiles::DoWriteFile(std::u16string_view path, const std::vector<uint8_t>& bytes, bool append) {
    if (fileError != 0) return fileError;
    const Location at = Locate(path);
    if (at.error != 0) return at.error;
    if (at.isFolder) return fileerror::kAccessDenied;
    if (!at.parentExists) return fileerror::kPathNotFound;
    std::ofstream out(at.real, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return fileerror::kAccessDenied;
    Stamp(at.real, !at.exists);
    return 0;
}

uint32_t SimFiles::DoSetFileTime(std::u16string_view path, FileTime which, int64_t seconds) {
    if (fileError != 0) return fileError;
    const Location at = Locate(path);
    if (!at.exists) return Missing(at);
    if (at.isFolder) return fileerror::kAccessDenied;
    if (which == FileTime::Creation) {
        creation_[at.real] = seconds;
        return 0;
    }
    std::error_code ec;
    fs::last_write_time(at.real, FileTimeOf(seconds), ec);
    return ec ? fileerror::kAccessDenied : 0;
}

}  // namespace ovrix
