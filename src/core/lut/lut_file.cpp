#include "core/lut/lut_file.h"

#include <array>
#include <optional>

#include "core/persist/atomic_file.h"
#include "core/persist/input_file.h"

namespace vk::lut {
namespace {

constexpr int kHeaderLines = 1;

std::string AtLine(const std::string& text, int line) {
    return text + ": Line(" + std::to_string(line) + ")";
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One field: decimal digits only, the digits kept for a notice.
std::optional<std::string_view> Digits(std::string_view field) {
    field = Trimmed(field);
    if (field.empty()) return std::nullopt;
    for (char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    while (field.size() > 1 && field.front() == '0')
        field.remove_prefix(1);
    return field;
}

std::int32_t Limited(std::string_view digits) {
    if (digits.size() > 4) return kMaxValue;
    std::int32_t value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value > kMaxValue ? kMaxValue : value;
}

// Splits text into lines at LF, a CR before it belonging to the line end.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (start_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', start_);
        const std::size_t next = end == std::string_view::npos ? text_.size() : end + 1;
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(start_, end - start_);
        if (line.ends_with('\r')) line.remove_suffix(1);
        start_ = next;
        ++number_;
        return true;
    }
    int Number() const { return number_; }

private:
    std::string_view text_;
    std::size_t start_ = 0;
    int number_ = 0;
};

LutLoad Failed(std::string error) {
    LutLoad failed;
    failed.error = std::move(error);
    return failed;
}

}  // namespace

LutLoad ParseLutFile(std::string_view text) {
    Lines lines(text);
    std::string_view line;
    if (!lines.Next(line) || Trimmed(line) != kLutFileHeader) {
        return Failed(AtLine(std::string("No header line \"") + kLutFileHeader + "\"", 1));
    }
    LutLoad load;
    int entries = 0;
    while (entries < kEntries && lines.Next(line)) {
        std::array<std::string_view, 3> fields;
        std::size_t count = 0;
        for (std::size_t start = 0;; ++count) {
            const std::size_t comma = line.find(',', start);
            if (count < fields.size()) fields[count] = line.substr(start, comma - start);
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        if (count > 2) return Failed(AtLine(kDataCountError, lines.Number()));
        for (std::size_t channel = 0; channel < fields.size(); ++channel) {
            const auto digits = count == 2 ? Digits(fields[channel]) : std::nullopt;
            if (!digits) return Failed(AtLine(kLineFormatError, lines.Number()));
            const std::int32_t value = Limited(*digits);
            if (value == kMaxValue && *digits != "4095" && load.notice.empty()) {
                load.notice = AtLine("Invalid data value", lines.Number()) + " : Value(" +
                              std::string(*digits) + ")";
            }
            load.tables[channel][static_cast<std::size_t>(entries)] = value;
        }
        ++entries;
    }
    if (entries < kEntries) {
        return Failed(AtLine(kTooFewDataError, lines.Number() + 1) + ": " +
                      std::to_string(entries) + " of 256 entries");
    }
    while (lines.Next(line)) {
        if (!Trimmed(line).empty()) return Failed(AtLine(kTooManyDataError, lines.Number()));
    }
    load.ok = true;
    return load;
}

LutLoad LoadLutFile(const std::filesystem::path& path) {
    const InputFile file = ReadInputFile(path, kMaxLutFileBytes);
    if (file.status == InputFile::Status::Missing || file.status == InputFile::Status::CannotRead) {
        return Failed(CouldNotOpenMessage(path));
    }
    if (!file.Ok()) return Failed(path.string() + "\n" + file.reason);
    LutLoad load = ParseLutFile(file.bytes);
    if (!load.ok) load.error = path.string() + "\n" + load.error;
    return load;
}

std::string FormatLutFile(const Tables& tables) {
    std::string text = std::string(kLutFileHeader) + "\r\n";
    for (std::size_t i = 0; i < std::size_t(kEntries); ++i) {
        text += std::to_string(tables[0][i]) + "," + std::to_string(tables[1][i]) + "," +
                std::to_string(tables[2][i]) + "\r\n";
    }
    return text;
}

bool SaveLutFile(const std::filesystem::path& path, const Tables& tables, std::string* error) {
    const FileOutcome written = WriteFileAtomically(path, FormatLutFile(tables));
    if (written) return true;
    if (error != nullptr) *error = CouldNotOpenMessage(path) + "\n" + written.reason;
    return false;
}

std::string CouldNotOpenMessage(const std::filesystem::path& path) {
    return path.string() + "\nCouldn't open this file";
}

}  // namespace vk::lut
