#include "fault_matrix/matrix_rig.h"

#include <gtest/gtest.h>

#include "core/genicam/description_download.h"
#include "core/genicam/description_file.h"
#include "core/genicam/description_parser.h"
#include "core/genicam/register_reader.h"
#include "core/genicam/serial_register_port.h"
#include "core/lut/lut_file.h"
#include "core/lut/lut_transfer.h"
#include "core/lut/standard_curve.h"
#include "core/persist/flash_areas.h"
#include "core/persist/setting_file_loader.h"
#include "core/protocol/exchange.h"
#include "core/protocol/parameter_reader.h"
#include "sim/description_zip.h"

namespace vk::test {
namespace {

constexpr int kWaitMs = MatrixRig::kWaitMs;
constexpr std::size_t kChunkBytes = 256;  // many chunks, so a fault can come between them

// Sixty sets that each change a value the camera keeps.
std::string SettingFileText() {
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += "PE=" + std::to_string(4000 + i) + "\r\n";
        text += "FGA=" + std::to_string(200 + i) + "\r\n";
    }
    return text;
}

lut::Tables LutTables() {
    lut::Tables tables{};
    for (std::size_t c = 0; c < tables.size(); ++c) {
        tables[c] = lut::LinearTable();
        tables[c][1] = static_cast<std::int32_t>(c + 1);
    }
    return tables;
}

// The outcome when it failed; otherwise the first failure the operation went past.
Ending EndingOf(const ExchangeResult& outcome, bool complete,
                const std::vector<ExchangeResult>& passed = {}) {
    Ending ending;
    ending.complete = complete;
    const ExchangeResult& told = !outcome.ok() || passed.empty() ? outcome : passed.front();
    ending.status = told.status;
    ending.message = told.ok() ? std::string() : told.Describe();
    return ending;
}

RegisterTiming Timing() {
    return {kWaitMs, 115200};
}

Ending FullRead(MatrixRig& rig) {
    return rig.Run(kFullReadProgressText, [](Operation& op) {
        const FullReadResult read = ParameterReader().ReadAllParameters(op, 0, false, kWaitMs);
        return EndingOf(read.outcome,
                        read.outcome.ok() && read.failedRows.empty() && read.notQueried == 0,
                        read.failures);
    });
}

Ending StoreAll(MatrixRig& rig) {
    return rig.Run("Store All", [](Operation& op) {
        const ExchangeResult stored = FlashAreas(op.exchange).StoreAll(op, kWaitMs);
        return EndingOf(stored, stored.ok());
    });
}

Ending LoadSettingFile(MatrixRig& rig) {
    std::string text;
    EXPECT_EQ(ReadSettingFileText(rig.SettingFile(), text), SettingFileRead::Ok);
    const SettingFilePlan plan = ParseSettingFile(rig.core.exchange, text, false);
    return rig.Run(kLoadingSettingFile, [&](Operation& op) {
        const SettingFileLoadResult load =
            SettingFileLoader(kWaitMs).Load(op, rig.core.modelCheck, plan);
        Ending ending;
        ending.complete = load.Clean() && load.outcome.ok();
        // A load that went on past a failure met refusals or time-outs; a lost line stops it.
        ending.status = !load.outcome.ok()         ? load.outcome.status
                        : !load.refused.empty()    ? ExchangeStatus::Refused
                        : !load.unanswered.empty() ? ExchangeStatus::TimedOut
                                                   : ExchangeStatus::Ok;
        ending.message = LoadSummary(load);
        return ending;
    });
}

Ending WriteLuts(MatrixRig& rig) {
    const lut::LutLoad file = lut::LoadLutFile(rig.LutFile());
    EXPECT_TRUE(file.ok) << file.error;
    return rig.Run(lut::kWritingText, [&](Operation& op) {
        const ExchangeResult written = lut::LutTransfer(op, kWaitMs).WriteAllTables(file.tables);
        return EndingOf(written, written.ok());
    });
}

Ending DownloadXml(MatrixRig& rig) {
    return rig.Run(kDownloadProgressText, [&](Operation& op) {
        SerialRegisterPort port(op.exchange, Timing());
        const DownloadResult download =
            DownloadDescription(op, port, rig.DownloadFile(), kChunkBytes);
        return Ending{download.ok(), download.outcome.status, download.error, {}};
    });
}

Ending ReadAllRegisters(MatrixRig& rig) {
    return rig.Run(kReadAllRegistersText, [&](Operation& op) {
        SerialRegisterPort port(op.exchange, Timing());
        Ending ending;
        RegisterResult firstFailure = RegisterResult::Success();
        const RegisterReadAll all = RegisterReader().ReadAll(
            op, port, rig.description, [&](int record, const RegisterResult& read) {
                if (read.ok()) {
                    ending.registers.emplace_back(record, read.bytes);
                } else if (firstFailure.ok()) {
                    firstFailure = read;
                }
            });
        ending.complete = all.outcome.ok() && all.failed == 0;
        ending.status = !all.outcome.ok() ? all.outcome.status : firstFailure.status;
        ending.message = !all.outcome.ok() ? all.outcome.Describe() : firstFailure.reason;
        return ending;
    });
}

}  // namespace

MatrixRig::MatrixRig() {
    const DescriptionParse parse = ParseDescription(XmlFromZip(sim::SimDescriptionZip()).text);
    EXPECT_TRUE(parse.ok) << parse.error;
    description = parse.table;
    WriteFile(SettingFile().string(), SettingFileText());
    std::string error;
    EXPECT_TRUE(lut::SaveLutFile(LutFile(), LutTables(), &error)) << error;
    WriteFile(DownloadFile().string(), "an earlier download");
}

MatrixRig::~MatrixRig() {
    core.channel.CloseChannel();
}

void MatrixRig::Plug() {
    sim::SimOptions options;
    options.linkPath = LinkPath();
    camera = std::make_unique<sim::SimulatedCamera>(options);
    std::string error;
    ASSERT_TRUE(camera->Start(&error)) << error;
    core.port.PinPort(LinkPath());
    ASSERT_TRUE(core.channel.OpenChannel(ChannelMode::ComPort, 115200, 0))
        << core.channel.LastOpenError();
    core.runner.Run({"model"}, [&](Operation&) { return core.modelCheck.Check(); });
    ASSERT_EQ(core.modelCheck.modelIndex, 0);
    camera->ClearReceivedLines();
}

void MatrixRig::Unplug() {
    core.channel.CloseChannel();
    camera.reset();
}

Ending MatrixRig::Run(const std::string& name, const std::function<Ending(Operation&)>& body) {
    Ending ending;
    ending.status = ExchangeStatus::Busy;  // stays when the runner refused to start it
    core.runner.Run({name, true, true, true}, [&](Operation& op) {
        ending = body(op);
        // A line without end the operation went past is told all the same.
        if (ending.status == ExchangeStatus::Ok && op.exchange.TakeOverflowNotice()) {
            ending.status = ExchangeStatus::Overflow;
            ending.message = Exchange::kOverflowText;
        }
        return ExchangeResult::Failure(ending.status);
    });
    return ending;
}

const std::vector<MatrixOperation>& MatrixOperations() {
    static const std::vector<MatrixOperation> operations = {
        {"FullRead", 40, ParameterReader::kMaxUnanswered, FullRead},
        {"StoreAll", 2, 1, StoreAll},
        {"SettingFileLoad", 12, SettingFileLoader::kMaxUnanswered, LoadSettingFile},
        {"LutWrite", 100, 1, WriteLuts},
        {"XmlDownload", 5, 1, DownloadXml, true},
        {"RegisterReadAll", 6, RegisterReader::kMaxUnanswered, ReadAllRegisters, true},
    };
    return operations;
}

}  // namespace vk::test
