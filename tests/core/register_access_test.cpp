// Register access over the line against the simulated camera: GenCP packets through the
// serial channel inside operations, the description download and the read of every
// register.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/camera_fixture.h"
#include "core/genicam/description_download.h"
#include "core/genicam/description_file.h"
#include "core/genicam/feature_value.h"
#include "core/genicam/operation_register_port.h"
#include "core/genicam/register_reader.h"
#include "core/genicam/serial_register_port.h"
#include "sim/description_zip.h"
#include "support/temp_dir.h"

namespace vk::test {
namespace {

using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t kExposureTime = 0x20200;
constexpr std::uint64_t kGain = 0x20300;
constexpr std::uint64_t kTemperature = 0x20010;  // read only
constexpr std::uint64_t kTrigger = 0x20208;      // write only

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

// Passes every read on to the real port; before read number `at` it runs `before`.
class InterceptingPort : public RegisterPort {
public:
    InterceptingPort(RegisterPort& port, int at, std::function<void()> before)
        : port_(port), at_(at), before_(std::move(before)) {}
    RegisterResult Read(std::uint64_t address, std::uint32_t length) override {
        if (++reads == at_) before_();
        return port_.Read(address, length);
    }
    RegisterResult Write(std::uint64_t address, const Bytes& bytes) override {
        return port_.Write(address, bytes);
    }
    int reads = 0;

private:
    RegisterPort& port_;
    int at_;
    std::function<void()> before_;
};

class RegisterAccessTest : public CameraFixture {
protected:
    void SetUp() override { Connect(); }

    // Runs `body` with a register port inside one cancellable operation.
    ExchangeResult WithPort(
        const std::function<ExchangeResult(Operation&, SerialRegisterPort&)>& body) {
        return core.runner.Run({"registers", true, false}, [&](Operation& op) {
            SerialRegisterPort port(op.exchange, timing);
            return body(op, port);
        });
    }

    RegisterResult ReadOnce(std::uint64_t address, std::uint32_t length) {
        RegisterResult result;
        WithPort([&](Operation&, SerialRegisterPort& port) {
            result = port.Read(address, length);
            return ExchangeResult::Success();
        });
        return result;
    }

    // Downloads through one port that lives as long as the test, as the window's does.
    DownloadResult Download(
        const std::filesystem::path& file, std::size_t chunk, int interceptAt = 0,
        std::function<void()> before = [] {}) {
        DownloadResult result;
        core.runner.Run({kDownloadProgressText, true, true}, [&](Operation& op) {
            InterceptingPort port(serial, interceptAt, before);
            result = DownloadDescription(op, port, file, chunk);
            return result.outcome;
        });
        return result;
    }

    RegisterTiming timing{kShort, 115200};
    SerialRegisterPort serial{core.exchange, timing};
    TempDir dir;
};

TEST_F(RegisterAccessTest, RegistersAndTextCommandsAgree) {
    camera->SetValue("GA", "100");
    WithPort([&](Operation& op, SerialRegisterPort& port) {
        EXPECT_TRUE(port.Write(kExposureTime, {0x00, 0x00, 0x30, 0x39}).ok());
        EXPECT_EQ(op.exchange.QueryInt(Cmd("PE"), kShort).value, 12345);
        const RegisterResult gain = port.Read(kGain, 4);
        EXPECT_TRUE(gain.ok()) << gain.reason;
        EXPECT_EQ(gain.bytes, (Bytes{0, 0, 0, 100}));
        // A text register keeps its bytes as the camera holds them.
        const RegisterResult model = port.Read(gencp::kModelRegister, 16);
        EXPECT_EQ(std::string(model.bytes.begin(), model.bytes.begin() + 13), "VK-4100C-PMCL");
        EXPECT_EQ(port.NextRequestId(), 3);
        return ExchangeResult::Success();
    });
    EXPECT_EQ(camera->Value("PE"), "12345");
    // Binary traffic is logged in hex.
    const auto& lines = core.logs.messages.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "01 00 00 00 00 00 00 00 00 00 08 02 00 0C 00 00 "
                        "00 00 00 00 00 02 02 00 00 00 30 39"),
              lines.end());
}

TEST_F(RegisterAccessTest, FailuresAreNamedAndTheLineStaysInStep) {
    struct Case {
        const char* what;
        std::function<RegisterResult(SerialRegisterPort&)> access;
        const char* reason;
        bool sent;
    };
    const std::vector<Case> cases = {
        {"unknown address", [](auto& p) { return p.Read(0x30000, 4); },
         "status 0x8003 Invalid address", true},
        {"read-only register",
         [](auto& p) {
             return p.Write(kTemperature, Bytes{0, 0, 0, 1});
         },
         "status 0x8004 Write protect", true},
        {"write-only register", [](auto& p) { return p.Read(kTrigger, 4); },
         "status 0x8006 Access denied", true},
        {"value the camera refuses",
         [](auto& p) {
             return p.Write(0x20100, Bytes{0, 0, 0, 9});
         },
         "status 0x8002 Invalid parameter", true},
        {"empty read", [](auto& p) { return p.Read(kGain, 0); },
         "a read of 0 bytes cannot be asked for", false},
        {"read too long", [](auto& p) { return p.Read(kGain, 70000); },
         "a read of 70000 bytes cannot be asked for", false},
        {"write under a word",
         [](auto& p) {
             return p.Write(kGain, Bytes{1, 2});
         },
         "a write of 2 bytes holds no whole 32-bit word", false},
    };
    camera->SetValue("GA", "7");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t logged = core.logs.messages.TotalAdded();
        WithPort([&](Operation&, SerialRegisterPort& port) {
            const RegisterResult failed = c.access(port);
            EXPECT_FALSE(failed.ok());
            EXPECT_NE(failed.status, ExchangeStatus::TimedOut);
            EXPECT_EQ(failed.reason, c.reason);
            EXPECT_EQ(core.logs.messages.TotalAdded() > logged, c.sent);
            const RegisterResult next = port.Read(kGain, 4);
            EXPECT_TRUE(next.ok()) << next.reason;
            EXPECT_EQ(next.bytes, (Bytes{0, 0, 0, 7}));
            return ExchangeResult::Success();
        });
    }
    EXPECT_EQ(camera->Value("SBS"), "0");
    EXPECT_TRUE(ui.messages.empty());  // the port names failures; no box of its own
}

TEST_F(RegisterAccessTest, AnUnansweredRequestIsResentThenGivenUp) {
    camera->SetFault({sim::Fault::Silent, 0, 3});  // the third resend is answered
    EXPECT_TRUE(ReadOnce(kGain, 4).ok());
    camera->SetFault({sim::Fault::Silent, 0, 4});
    RegisterResult silent = ReadOnce(kGain, 4);
    EXPECT_FALSE(silent.ok());
    EXPECT_EQ(silent.status, ExchangeStatus::TimedOut);
    EXPECT_EQ(silent.reason, "no acknowledgement within 300 ms (sent 4 times)");
    EXPECT_TRUE(ReadOnce(kGain, 4).ok());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RegisterAccessTest, PendingAcknowledgementsAreWaitedForWithinABound) {
    camera->SetValue("GA", "9");
    sim::FaultSettings pending{sim::Fault::Pending, kShort, 1};
    pending.pendingAcks = 3;
    camera->SetFault(pending);
    const RegisterResult late = ReadOnce(kGain, 4);
    EXPECT_TRUE(late.ok()) << late.reason;
    EXPECT_EQ(late.bytes, (Bytes{0, 0, 0, 9}));

    pending.pendingAcks = -1;  // asks for more time again and again
    camera->SetFault(pending);
    timing.pendingTotalMs = 2 * kShort;
    const RegisterResult endless = ReadOnce(kGain, 4);
    EXPECT_EQ(endless.status, ExchangeStatus::TimedOut);
    EXPECT_EQ(endless.reason,
              "the camera kept asking for more time; gave up 600 ms after its first request for "
              "it");
    // Its pending acknowledgements still on the way are read past.
    EXPECT_TRUE(ReadOnce(kGain, 4).ok());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RegisterAccessTest, ALateAcknowledgementIsReadPast) {
    camera->SetValue("GA", "42");
    camera->SetFault({sim::Fault::Delay, 5 * kShort, 1});  // past the resends
    WithPort([&](Operation&, SerialRegisterPort& port) {
        EXPECT_EQ(port.Read(kExposureTime, 4).status, ExchangeStatus::TimedOut);
        // The first acknowledgement comes while the second request waits.
        port.SetTiming({4 * kShort, 115200});
        const RegisterResult next = port.Read(kGain, 4);
        EXPECT_TRUE(next.ok()) << next.reason;
        EXPECT_EQ(next.bytes, (Bytes{0, 0, 0, 42}));
        return ExchangeResult::Success();
    });
}

TEST_F(RegisterAccessTest, WritesOfTheGridRunAsOperationsOfTheirOwn) {
    SerialRegisterPort serial(core.exchange, timing);
    OperationRegisterPort port(core.runner, serial);
    EXPECT_TRUE(port.Write(kGain, gencp::BigEndianBytes(321, 4)).ok());
    EXPECT_EQ(camera->Value("GA"), "321");
    EXPECT_EQ(ui.operations, std::vector<std::string>{kRegisterWriteText});

    // Never in the middle of another operation's exchanges.
    core.runner.Run({"other"}, [&](Operation&) {
        const RegisterResult busy = port.Write(kGain, gencp::BigEndianBytes(5, 4));
        EXPECT_FALSE(busy.ok());
        EXPECT_EQ(busy.reason, "another operation is using the camera");
        return ExchangeResult::Success();
    });
    EXPECT_EQ(camera->Value("GA"), "321");
}

TEST_F(RegisterAccessTest, DownloadSavesTheCamerasFileByteForByte) {
    const auto zip = sim::SimDescriptionZip();
    ASSERT_GT(zip.size(), 3 * 256u);
    const std::filesystem::path file = dir.Path() / kDownloadFileName;
    WriteFile(file.string(), "an older download");

    const DownloadResult result = Download(file, 256);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.entry.type, gencp::FileType::Zip);
    EXPECT_EQ(result.bytes, zip.size());
    EXPECT_EQ(ReadFile(file), std::string(zip.begin(), zip.end()));
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{kDownloadFileName});
    EXPECT_EQ(DownloadCompleteText(file),
              "Complete, Please Unzip _download.zip in " + file.parent_path().string());

    // Progress counted the chunks up to the end.
    EXPECT_EQ(ui.progressTexts.front(), kDownloadProgressText);
    EXPECT_EQ(ui.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(ui.progress.begin(), ui.progress.end()));
    EXPECT_GE(ui.progress.size(), zip.size() / 256);

    // What arrived is the camera's own description.
    const DescriptionParse parse = LoadDescriptionFile(file.string());
    ASSERT_TRUE(parse.ok) << parse.error;
    EXPECT_FALSE(parse.table.records.empty());
}

TEST_F(RegisterAccessTest, AFailedOrCancelledDownloadLeavesTheFolderAsItWas) {
    struct Case {
        const char* what;
        int at;  // the read before which it happens: 1 the manifest address, 3 the first chunk
        std::function<void()> happen;
        ExchangeStatus status;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"silent camera", 1, [this] { camera->SetFault({sim::Fault::Silent}); },
         ExchangeStatus::TimedOut,
         "Couldn't read the XML file from the camera:\n"
         "the manifest address at 0x1D0: no acknowledgement within 300 ms (sent 4 times)"},
        {"silent in the middle", 5, [this] { camera->SetFault({sim::Fault::Silent}); },
         ExchangeStatus::TimedOut,
         "Couldn't read the XML file from the camera:\n"
         "256 bytes of the file at 0x100200: no acknowledgement within 300 ms (sent 4 times)"},
        {"cancel between chunks", 5, [this] { ui.cancelAfterPumps = 0; }, ExchangeStatus::Cancelled,
         ""},
        {"cancel while waiting", 5,
         [this] {
             camera->SetFault({sim::Fault::Delay, 4 * kShort, 1});
             ui.cancelAfterPumps = ui.pumps + 2;
         },
         ExchangeStatus::Cancelled, ""},
    };
    const std::filesystem::path file = dir.Path() / kDownloadFileName;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(file.string(), "kept");
        const DownloadResult result = Download(file, 256, c.at, c.happen);
        EXPECT_EQ(result.outcome.status, c.status);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(ReadFile(file), "kept");
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{kDownloadFileName});
        camera->ClearFault();
        ui.cancelAfterPumps = -1;
    }
    // The acknowledgement the cancelled wait gave up on comes first and is read past.
    serial.SetTiming({8 * kShort, 115200});
    const DownloadResult after = Download(file, 4096);
    EXPECT_TRUE(after.ok()) << after.error;
    const auto zip = sim::SimDescriptionZip();
    EXPECT_EQ(ReadFile(file), std::string(zip.begin(), zip.end()));
}

TEST_F(RegisterAccessTest, ReadAllShowsEveryReadableRegister) {
    const DescriptionParse parse = ParseDescription(XmlFromZip(sim::SimDescriptionZip()).text);
    ASSERT_TRUE(parse.ok);
    const FeatureTable& table = parse.table;
    camera->SetValue("PE", "2500");
    camera->SetValue("SBS", "2");

    std::map<std::string, std::string> shown;
    RegisterReadAll all;
    core.runner.Run({kReadAllRegistersText, true, true}, [&](Operation& op) {
        SerialRegisterPort port(op.exchange, timing);
        all = RegisterReader().ReadAll(op, port, table, [&](int i, const RegisterResult& r) {
            const FeatureRecord& record = table.records[static_cast<std::size_t>(i)];
            ASSERT_TRUE(r.ok()) << record.displayName << ": " << r.reason;
            shown[record.displayName] =
                FormatFeatureValue(record, ValueFromRegister(record, r.bytes));
        });
        return all.outcome;
    });
    EXPECT_TRUE(all.outcome.ok());
    EXPECT_EQ(all.read, all.readable);
    EXPECT_EQ(shown["Exposure Time"], "2500");
    EXPECT_EQ(shown["Exposure Time (float)"], "2500.0000");
    EXPECT_EQ(shown["Pixel Format"], "Mono 12");
    EXPECT_EQ(shown.count("Trigger Software"), 0u);  // write only
    EXPECT_EQ(ui.progress.back(), 100);
}

TEST_F(RegisterAccessTest, ReadAllStopsWhenTheCameraStopsAnswering) {
    const DescriptionParse parse = ParseDescription(XmlFromZip(sim::SimDescriptionZip()).text);
    camera->SetFault({sim::Fault::Silent});
    int told = 0;
    RegisterReadAll all;
    core.runner.Run({kReadAllRegistersText, true, true}, [&](Operation& op) {
        SerialRegisterPort port(op.exchange, timing);
        all = RegisterReader().ReadAll(op, port, parse.table,
                                       [&](int, const RegisterResult& r) { told += !r.ok(); });
        return all.outcome;
    });
    EXPECT_TRUE(all.stoppedUnanswered);
    EXPECT_EQ(all.outcome.status, ExchangeStatus::TimedOut);
    EXPECT_EQ(told, RegisterReader::kMaxUnanswered);
    EXPECT_GT(all.readable, RegisterReader::kMaxUnanswered);
}

}  // namespace
}  // namespace vk::test
