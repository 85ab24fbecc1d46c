#include "core/genicam/description_download.h"

#include <cstdio>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/genicam/description_file.h"
#include "core/operation_runner.h"
#include "core/persist/atomic_file.h"

namespace vk {
namespace {

constexpr const char* kFailedText = "Couldn't read the XML file from the camera:\n";

std::string CouldNotRead(const std::string& what) {
    return kFailedText + what;
}

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

DownloadResult Stopped(DownloadResult result, ExchangeStatus status, const std::string& message) {
    result.outcome = ExchangeResult::Failure(status);
    if (status != ExchangeStatus::Cancelled) {
        result.error = message;
        result.outcome.message = result.error;
    }
    return result;
}

DownloadResult ReadFailed(DownloadResult result, const RegisterResult& read,
                          const std::string& what) {
    return Stopped(std::move(result), read.status, CouldNotRead(what + ": " + read.reason));
}

}  // namespace

std::string DownloadCompleteText(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(file, error).parent_path();
    if (error) folder = file.parent_path();
    return "Complete, Please Unzip " + file.filename().string() + " in " + folder.string();
}

DownloadResult FetchDescription(Operation& operation, RegisterPort& port, std::string& content,
                                std::size_t chunkBytes) {
    DownloadResult result;
    operation.SetText(kDownloadProgressText);

    const RegisterResult reg =
        port.Read(gencp::kManifestAddressRegister, gencp::kManifestAddressLength);
    if (!reg.ok()) return ReadFailed(result, reg, "the manifest address at 0x1D0");
    const std::uint64_t manifest = gencp::ManifestAddress(reg.bytes);

    // The entry count and the first entry in one read.
    const RegisterResult table =
        port.Read(manifest, gencp::kManifestHeaderLength + gencp::kManifestEntryLength);
    if (!table.ok()) return ReadFailed(result, table, "the manifest at " + Hex(manifest));
    const std::span<const std::uint8_t> bytes(table.bytes);
    if (bytes.size() < gencp::kManifestHeaderLength + gencp::kManifestEntryLength) {
        return Stopped(result, ExchangeStatus::Refused,
                       CouldNotRead("the manifest at " + Hex(manifest) + " came short (" +
                                    std::to_string(bytes.size()) + " bytes)"));
    }
    // The first entry is read whatever the count says, as the camera family does.
    if (gencp::ReadBigEndian(bytes.first(gencp::kManifestHeaderLength)) == 0) {
        result.notes.push_back("the manifest at " + Hex(manifest) +
                               " counts no entry; its first entry was read regardless");
    }
    result.entry = *gencp::ParseManifestEntry(bytes.subspan(gencp::kManifestHeaderLength));
    gencp::ManifestEntry& entry = result.entry;
    for (auto [field, name] : {std::pair{&entry.address, "address"}, {&entry.size, "size"}}) {
        if (*field >> 32 == 0) continue;
        result.notes.push_back("the manifest entry's " + std::string(name) + " " + Hex(*field) +
                               " has its upper 32 bits set; the lower 32 bits were used");
        *field &= 0xFFFFFFFFu;
    }
    if (entry.size == 0 || entry.size > kMaxDescriptionBytes) {
        return Stopped(result, ExchangeStatus::Refused,
                       CouldNotRead("the manifest gives the file a size of " +
                                    std::to_string(entry.size) + " bytes"));
    }

    content.clear();
    content.reserve(static_cast<std::size_t>(entry.size));
    const std::vector<gencp::ReadChunk> chunks =
        gencp::ChunkRead(entry.address, entry.size, chunkBytes);
    const int total = static_cast<int>(chunks.size());
    for (int i = 0; i < total; ++i) {
        if (operation.Cancelled()) return Stopped(result, ExchangeStatus::Cancelled, {});
        const gencp::ReadChunk& chunk = chunks[static_cast<std::size_t>(i)];
        const RegisterResult part = port.Read(chunk.address, chunk.length);
        if (!part.ok() || part.bytes.size() != chunk.length) {
            const std::string what =
                std::to_string(chunk.length) + " bytes of the file at " + Hex(chunk.address);
            if (part.ok()) {
                return Stopped(
                    result, ExchangeStatus::Refused,
                    CouldNotRead(what + ": " + std::to_string(part.bytes.size()) + " came"));
            }
            return ReadFailed(result, part, what);
        }
        content.append(part.bytes.begin(), part.bytes.end());
        operation.Step(i + 1, total);
    }
    if (operation.Cancelled()) return Stopped(result, ExchangeStatus::Cancelled, {});
    result.bytes = content.size();
    return result;
}

DownloadResult DownloadDescription(Operation& operation, RegisterPort& port,
                                   const std::filesystem::path& file, std::size_t chunkBytes) {
    std::string content;
    DownloadResult result = FetchDescription(operation, port, content, chunkBytes);
    if (!result.ok()) return result;
    if (!WriteFileAtomically(file, content)) {
        return Stopped(result, ExchangeStatus::Refused, "Couldn't write " + file.string());
    }
    result.bytes = content.size();
    return result;
}

}  // namespace vk
