#include "cli/cli_xml_commands.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <span>

#include "cli/json_output.h"
#include "core/core_context.h"
#include "core/genicam/description_download.h"
#include "core/genicam/description_file.h"
#include "core/genicam/feature_rows.h"
#include "core/genicam/feature_value.h"
#include "core/genicam/register_reader.h"
#include "core/genicam/serial_register_port.h"
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

enum class RegFormat { Bytes, Text, Float };

// The words of a reg command without its --text or --float.
struct RegArgs {
    RegFormat format = RegFormat::Bytes;
    std::vector<std::string> words;
};

constexpr std::uint32_t kDefaultReadLength = 4;
constexpr std::uint32_t kDefaultTextLength = 64;  // a bootstrap text register

bool SplitFormat(CliSession& s, const std::vector<std::string>& args, RegArgs& out) {
    for (const std::string& a : args) {
        const RegFormat format = a == "--text"    ? RegFormat::Text
                                 : a == "--float" ? RegFormat::Float
                                                  : RegFormat::Bytes;
        if (format == RegFormat::Bytes) {
            out.words.push_back(a);
            continue;
        }
        if (out.format != RegFormat::Bytes) {
            s.err << "vk4100ctl: give only one of --text and --float\n";
            return false;
        }
        out.format = format;
    }
    for (const std::string& w : out.words) {
        // A negative value is a number; any other word that starts with "--" is an option.
        if (w.starts_with("--")) {
            s.err << "vk4100ctl: unknown option: " << w << '\n';
            return false;
        }
    }
    return true;
}

// A whole number in C syntax (decimal, 0x hexadecimal, leading-zero octal), nothing else.
bool ParseWhole(const std::string& text, long long low, unsigned long long high, long long& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])) || text[0] == '+') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    if (text[0] == '-') {
        const long long v = std::strtoll(text.c_str(), &end, 0);
        if (errno != 0 || *end != '\0' || v < low) return false;
        value = v;
        return true;
    }
    const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v > high) return false;
    value = static_cast<long long>(v);
    return true;
}

bool ParseAddress(CliSession& s, const std::string& text, std::uint64_t& address) {
    long long value = 0;
    if (!ParseWhole(text, 0, 0x7FFFFFFFFFFFFFFFull, value)) {
        s.err << "vk4100ctl: bad register address: " << text << '\n';
        return false;
    }
    address = static_cast<std::uint64_t>(value);
    return true;
}

// A message of several lines on one: a line that ends in a colon goes on after a blank.
std::string OneLine(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at)) {
        const bool colon = at > 0 && text[at - 1] == ':';
        text.replace(at, 1, colon ? " " : ": ");
    }
    return text;
}

SerialRegisterPort PortOf(CliSession& s) {
    return SerialRegisterPort(s.core.exchange,
                              RegisterTiming{s.options.timeoutMs, s.core.channel.BaudRate()});
}

bool LoadTable(CliSession& s, const std::string& path, FeatureTable& table) {
#ifndef VK_HAVE_DESCRIPTION
    (void)path;
    (void)table;
    s.err << "vk4100ctl: this build reads no device descriptions (built without XML and zip "
             "support)\n";
    return false;
#else
    DescriptionParse parse = LoadDescriptionFile(path);
    if (!parse.ok) {
        s.err << "vk4100ctl: " << OneLine(parse.error) << '\n';
        return false;
    }
    for (const std::string& note : parse.notes)
        s.err << "vk4100ctl: " << note << '\n';
    table = std::move(parse.table);
    return true;
#endif
}

int AccessFailed(CliSession& s, const std::string& what, const RegisterResult& result) {
    s.err << "vk4100ctl: " << what << ": " << result.reason << '\n';
    return kExitFailed;
}

// The fields of one output line, each made safe for the terminal, tab-separated.
void PrintFields(CliSession& s, std::initializer_list<std::string> fields) {
    bool first = true;
    for (const std::string& f : fields) {
        if (!first) s.out << '\t';
        s.out << Printable(f);
        first = false;
    }
    s.out << '\n';
}

std::unique_ptr<genicam::NodeMap> MapFromText(CliSession& s, const std::string& xml,
                                              const std::string& where, bool notes) {
#ifndef VK_HAVE_DESCRIPTION
    (void)xml;
    (void)where;
    (void)notes;
    s.err << "vk4100ctl: this build reads no device descriptions (built without XML and zip "
             "support)\n";
    return nullptr;
#else
    std::string error;
    std::unique_ptr<genicam::NodeMap> map = genicam::BuildNodeMap(xml, error);
    if (!map) {
        s.err << "vk4100ctl: " << Printable(OneLine(where + "\n" + error)) << '\n';
        return nullptr;
    }
    for (const std::string& note : notes ? map->Notes() : std::vector<std::string>{})
        s.err << "vk4100ctl: " << Printable(note) << '\n';
    return map;
#endif
}

// The notes on what was skipped are told where the whole description is listed.
std::unique_ptr<genicam::NodeMap> LoadNodeMap(CliSession& s, const std::string& path,
                                              bool notes = true) {
    const DescriptionText text = ReadDescriptionFile(path);
    if (!text.ok) {
        s.err << "vk4100ctl: " << Printable(OneLine(text.error)) << '\n';
        return nullptr;
    }
    return MapFromText(s, text.text, path, notes);
}

// A feature of the camera's node map, from --file FILE or the camera's own description.
struct CameraFeature {
    std::unique_ptr<SerialRegisterPort> port;
    std::unique_ptr<genicam::NodeMap> map;
    const genicam::Node* node = nullptr;
    std::vector<std::string> words;  // the arguments without --file FILE
    int exit = kExitFailed;
};

CameraFeature OpenCameraFeature(CliSession& s, const std::vector<std::string>& args, int words) {
    CameraFeature f;
    std::string file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--file" && i + 1 < args.size()) {
            file = args[++i];
        } else {
            f.words.push_back(args[i]);
        }
    }
    if (static_cast<int>(f.words.size()) != words) {
        s.err << "vk4100ctl: usage: xml get|execute NAME, xml set NAME VALUE [--file FILE]\n";
        f.exit = kExitUsage;
        return f;
    }
    f.port = std::make_unique<SerialRegisterPort>(PortOf(s));
    f.port->AdoptDeviceResponseTime();  // a camera without the register keeps --timeout
    if (!file.empty()) {
        f.map = LoadNodeMap(s, file, false);
    } else {
        std::string content;
        const DownloadResult fetched = FetchDescription(*s.operation, *f.port, content);
        if (fetched.cancelled()) return f;
        if (!fetched.ok()) {
            s.err << "vk4100ctl: " << Printable(OneLine(fetched.error)) << '\n';
            return f;
        }
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
        DescriptionText xml;
        if (LooksLikeZip(bytes)) {
            xml = XmlFromZip(bytes);
        } else {
            xml.ok = true;
            xml.text = std::move(content);
        }
        if (!xml.ok) {
            s.err << "vk4100ctl: the camera's description: " << Printable(OneLine(xml.error))
                  << '\n';
            return f;
        }
        f.map = MapFromText(s, xml.text, "the camera's description", false);
    }
    if (!f.map) return f;
    f.map->SetPort(f.port.get());
    f.node = f.map->Find(f.words[0]);
    if (f.node == nullptr || f.node->GetKind() == genicam::Kind::Port) {
        s.err << "vk4100ctl: the description has no feature named " << Printable(f.words[0])
              << '\n';
        f.node = nullptr;
    }
    return f;
}

int FeatureFailed(CliSession& s, const genicam::Node& node, const std::string& reason) {
    s.err << "vk4100ctl: " << Printable(node.Name()) << ": " << Printable(reason) << '\n';
    return kExitFailed;
}

}  // namespace

int XmlDownloadCommand(CliSession& s, const std::vector<std::string>& args) {
    const std::filesystem::path file = args.empty() ? kDownloadFileName : args[0];
    SerialRegisterPort port = PortOf(s);
    const DownloadResult result = DownloadDescription(*s.operation, port, file);
    if (result.cancelled()) return kExitFailed;  // said once by RunCli
    if (!result.ok()) {
        s.err << "vk4100ctl: " << OneLine(result.error) << '\n';
        return kExitFailed;
    }
    for (const std::string& note : result.notes)
        s.err << "vk4100ctl: " << Printable(note) << '\n';
    PrintField(s, "file", file.string(), Printable(DownloadCompleteText(file)));
    return kExitOk;
}

int XmlFeaturesCommand(CliSession& s, const std::vector<std::string>& args) {
    std::unique_ptr<genicam::NodeMap> map = LoadNodeMap(s, args[0]);
    if (!map) return kExitFailed;
    const std::vector<genicam::FeatureRow> rows = genicam::ListFeatures(*map);
    if (JsonWanted(s)) {
        PrintJson(s.out, FeaturesJson(rows));
        return kExitOk;
    }
    for (const genicam::FeatureRow& r : rows) {
        PrintFields(s, {r.name, r.displayName, r.kind, r.access, r.address, r.length, r.min, r.max,
                        r.unit, r.entries, r.category, r.availability});
    }
    return kExitOk;
}

int XmlTreeCommand(CliSession& s, const std::vector<std::string>& args) {
    std::unique_ptr<genicam::NodeMap> map = LoadNodeMap(s, args[0]);
    if (!map) return kExitFailed;
    const genicam::Node* root = map->Root();
    if (root == nullptr) {
        s.err << "vk4100ctl: the description has no category\n";
        return kExitFailed;
    }
    PrintFields(s, {root->Name(), root->DisplayName(), genicam::KindName(root->GetKind())});
    for (const auto& [node, path] : map->Walk()) {
        const auto depth = 1 + std::count(path.begin(), path.end(), '/');
        s.out << std::string(2 * static_cast<std::size_t>(depth), ' ');
        PrintFields(s, {node->Name(), node->DisplayName(), genicam::KindName(node->GetKind())});
    }
    return kExitOk;
}

int XmlGetCommand(CliSession& s, const std::vector<std::string>& args) {
    CameraFeature f = OpenCameraFeature(s, args, 1);
    if (!f.node) return f.exit;
    const genicam::Got<std::string> value = genicam::FeatureText(*f.map, *f.node);
    if (!value) return FeatureFailed(s, *f.node, value.reason);
    s.out << Printable(*value) << '\n';
    return kExitOk;
}

int XmlSetCommand(CliSession& s, const std::vector<std::string>& args) {
    CameraFeature f = OpenCameraFeature(s, args, 2);
    if (!f.node) return f.exit;
    const genicam::Done done = genicam::SetFeatureText(*f.map, *f.node, f.words[1]);
    if (!done) return FeatureFailed(s, *f.node, done.reason);
    return kExitOk;
}

int XmlExecuteCommand(CliSession& s, const std::vector<std::string>& args) {
    CameraFeature f = OpenCameraFeature(s, args, 1);
    if (!f.node) return f.exit;
    const genicam::Done done = genicam::ExecuteFeature(*f.map, *f.node);
    if (!done) return FeatureFailed(s, *f.node, done.reason);
    return kExitOk;
}

int XmlReadAllCommand(CliSession& s, const std::vector<std::string>& args) {
    FeatureTable table;
    if (!LoadTable(s, args[0], table)) return kExitFailed;
    SerialRegisterPort port = PortOf(s);
    const RegisterReadAll all = RegisterReader().ReadAll(
        *s.operation, port, table, [&](int index, const RegisterResult& result) {
            const FeatureRecord& r = table.records[static_cast<std::size_t>(index)];
            if (!result.ok()) {
                s.err << "vk4100ctl: " << r.displayName << ": " << result.reason << '\n';
                return;
            }
            s.out << r.displayName << '='
                  << Printable(FormatFeatureValue(r, ValueFromRegister(r, result.bytes))) << '\n';
        });
    if (all.outcome.status == ExchangeStatus::Cancelled) return kExitFailed;
    if (all.stoppedUnanswered) {
        s.err << "vk4100ctl: the camera stopped answering; " << all.readable - all.read - all.failed
              << " registers not read\n";
    }
    if (all.failed > 0 || all.stoppedUnanswered) {
        s.err << "vk4100ctl: " << all.read << " of " << all.readable << " registers read\n";
        return kExitFailed;
    }
    return kExitOk;
}

int RegReadCommand(CliSession& s, const std::vector<std::string>& args) {
    RegArgs reg;
    if (!SplitFormat(s, args, reg) || reg.words.empty() || reg.words.size() > 2) {
        if (reg.words.empty() || reg.words.size() > 2) {
            s.err << "vk4100ctl: usage: reg read ADDRESS [LENGTH] [--text|--float]\n";
        }
        return kExitUsage;
    }
    std::uint64_t address = 0;
    if (!ParseAddress(s, reg.words[0], address)) return kExitUsage;
    long long length = reg.format == RegFormat::Text ? kDefaultTextLength : kDefaultReadLength;
    if (reg.words.size() > 1 &&
        (!ParseWhole(reg.words[1], 1, gencp::kMaxReadLength, length) || length < 1)) {
        s.err << "vk4100ctl: bad length: " << reg.words[1] << " (1 to " << gencp::kMaxReadLength
              << ")\n";
        return kExitUsage;
    }
    if (reg.format == RegFormat::Float && length < 4) {
        s.err << "vk4100ctl: a float register has 4 bytes\n";
        return kExitUsage;
    }
    SerialRegisterPort port = PortOf(s);
    const RegisterResult result = port.Read(address, static_cast<std::uint32_t>(length));
    if (!result.ok()) return AccessFailed(s, "reading " + genicam::HexText(address), result);
    if (JsonWanted(s)) {
        const auto end = std::find(result.bytes.begin(), result.bytes.end(), 0);
        PrintJson(
            s.out,
            RegisterJson(address, result.bytes,
                         reg.format == RegFormat::Text
                             ? std::optional<std::string>(std::string(result.bytes.begin(), end))
                             : std::nullopt,
                         reg.format == RegFormat::Float
                             ? std::optional<double>(gencp::FloatFromBytes(result.bytes))
                             : std::nullopt));
        return kExitOk;
    }
    switch (reg.format) {
        case RegFormat::Bytes:
            s.out << TrafficLogs::HexText(result.bytes) << '\n';
            break;
        case RegFormat::Text: {
            const auto end = std::find(result.bytes.begin(), result.bytes.end(), 0);
            s.out << Printable(std::string(result.bytes.begin(), end)) << '\n';
            break;
        }
        case RegFormat::Float:
            s.out << genicam::RealText(gencp::FloatFromBytes(result.bytes)) << '\n';
            break;
    }
    return kExitOk;
}

int RegWriteCommand(CliSession& s, const std::vector<std::string>& args) {
    RegArgs reg;
    if (!SplitFormat(s, args, reg) || reg.words.size() != 2) {
        if (reg.words.size() != 2) {
            s.err << "vk4100ctl: usage: reg write ADDRESS VALUE [--text|--float]\n";
        }
        return kExitUsage;
    }
    std::uint64_t address = 0;
    if (!ParseAddress(s, reg.words[0], address)) return kExitUsage;
    const std::string& text = reg.words[1];
    std::vector<std::uint8_t> bytes;
    switch (reg.format) {
        case RegFormat::Bytes: {
            long long value = 0;
            if (!ParseWhole(text, INT32_MIN, UINT32_MAX, value)) {
                s.err << "vk4100ctl: bad 32-bit value: " << text << '\n';
                return kExitUsage;
            }
            bytes = gencp::BigEndianBytes(static_cast<std::uint32_t>(value), 4);
            break;
        }
        case RegFormat::Float: {
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            if (text.empty() || *end != '\0' || !std::isfinite(static_cast<float>(value))) {
                s.err << "vk4100ctl: bad float value: " << text << '\n';
                return kExitUsage;
            }
            bytes = gencp::FloatBytes(static_cast<float>(value));
            break;
        }
        case RegFormat::Text:
            // Registers take whole words: the text is padded with NULs to the next one.
            bytes.assign(text.begin(), text.end());
            bytes.resize(std::max<std::size_t>(4, (bytes.size() + 3) / 4 * 4), 0);
            if (bytes.size() > gencp::kMaxWriteLength) {
                s.err << "vk4100ctl: the text is too long for one write\n";
                return kExitUsage;
            }
            break;
    }
    SerialRegisterPort port = PortOf(s);
    const RegisterResult result = port.Write(address, bytes);
    if (!result.ok()) return AccessFailed(s, "writing " + genicam::HexText(address), result);
    return kExitOk;
}

}  // namespace vk::cli
