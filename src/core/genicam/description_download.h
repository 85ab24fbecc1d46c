#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/genicam/register_layout.h"
#include "core/genicam/register_port.h"
#include "core/protocol/exchange_result.h"

namespace vk {

class Operation;

inline constexpr const char* kDownloadFileName = "_download.zip";
inline constexpr const char* kDownloadProgressText = "Reading the XML file from the camera.";
// Small enough that progress moves and a slow line still answers each read in time.
inline constexpr std::size_t kDownloadChunkBytes = 4096;

struct DownloadResult {
    ExchangeResult outcome;  // Ok, Cancelled, or why it stopped (message: `error`)
    std::string error;       // what failed, for the person; empty when ok or cancelled
    gencp::ManifestEntry entry;
    std::uint64_t bytes = 0;         // bytes written to the file
    std::vector<std::string> notes;  // what the manifest held that was read past

    bool ok() const { return outcome.ok(); }
    bool cancelled() const { return outcome.status == ExchangeStatus::Cancelled; }
};

// "Complete, Please Unzip NAME in FOLDER" for the file written.
std::string DownloadCompleteText(const std::filesystem::path& file);

// The camera's description file into `content`, as DownloadDescription reads it.
DownloadResult FetchDescription(Operation& operation, RegisterPort& port, std::string& content,
                                std::size_t chunkBytes = kDownloadChunkBytes);

// Fetches the camera's description file inside a running operation: the manifest address
// from the bootstrap register, the first manifest entry, then the file in chunks with
// progress and Cancel between them. The file is saved atomically once all of it arrived;
// a download that fails or is cancelled leaves `file` as it was.
DownloadResult DownloadDescription(Operation& operation, RegisterPort& port,
                                   const std::filesystem::path& file,
                                   std::size_t chunkBytes = kDownloadChunkBytes);

}  // namespace vk
