#include "core/lut/lut_file.h"

#include <array>
#include <fstream>
#include <sstream>

#include "core/persist/atomic_file.h"

namespace vk::lut {
namespace {

constexpr std::size_t kPieceLength = 126;  // a line buffer of 127 bytes with its zero

// The next line, or a piece of a longer one; false at the end of the input. CR LF reads as
// one line end, as in a file opened in text mode.
bool ReadPiece(std::istream& in, std::string& piece) {
    piece.clear();
    char c = 0;
    while (piece.size() < kPieceLength && in.get(c)) {
        if (c == '\r' && in.peek() == '\n') continue;
        piece.push_back(c);
        if (c == '\n') break;
    }
    return !piece.empty();
}

struct Field {
    std::string digits;  // without leading zeros

    void Add(char c) {
        if (c != '0' || !digits.empty()) digits.push_back(c);
    }
    std::string Text() const { return digits.empty() ? "0" : digits; }
    bool TooLarge() const { return digits.size() > 4 || std::stoi(Text()) > kMaxValue; }
    std::int32_t Value() const { return TooLarge() ? kMaxValue : std::stoi(Text()); }
};

// Fills the three fields of a data line; the error text when the line is malformed.
const char* SplitLine(const std::string& line, std::array<Field, 3>& fields) {
    std::size_t commas = 0;
    for (char c : line) {
        if (c == ',') {
            if (++commas == 3) return kDataCountError;
        } else if (c >= '0' && c <= '9') {
            fields[commas].Add(c);
        }
    }
    return commas == 2 ? nullptr : kLineFormatError;
}

}  // namespace

LutLoad ParseLutFile(std::istream& in, const Tables& current) {
    LutLoad load;
    load.tables = current;
    std::string piece;
    ReadPiece(in, piece);  // the header, whatever it holds
    while (ReadPiece(in, piece)) {
        std::array<Field, 3> fields;
        const char* error = SplitLine(piece, fields);
        if (error == nullptr && load.dataLines >= kEntries) error = kTooManyDataError;
        if (error != nullptr) {
            LutLoad failed;
            failed.error = error;
            failed.tables = current;
            return failed;
        }
        for (std::size_t channel = 0; channel < fields.size(); ++channel) {
            const Field& field = fields[channel];
            if (field.TooLarge() && load.notice.empty()) {
                load.notice = "Invalid data value: Line(" + std::to_string(load.dataLines) +
                              ") : Value(" + field.Text() + ")";
            }
            load.tables[channel][static_cast<std::size_t>(load.dataLines)] = field.Value();
        }
        ++load.dataLines;
    }
    load.ok = true;
    return load;
}

LutLoad LoadLutFile(const std::filesystem::path& path, const Tables& current) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LutLoad failed;
        failed.error = CouldNotOpenMessage(path);
        failed.tables = current;
        return failed;
    }
    return ParseLutFile(in, current);
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
    if (WriteFileAtomically(path, FormatLutFile(tables))) return true;
    if (error != nullptr) *error = CouldNotOpenMessage(path);
    return false;
}

std::string CouldNotOpenMessage(const std::filesystem::path& path) {
    return path.string() + "\nCouldn't open this file";
}

}  // namespace vk::lut
