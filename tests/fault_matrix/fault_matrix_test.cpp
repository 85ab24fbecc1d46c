// Every long operation against every way a camera or its line fails: the operation ends in
// time with its failure, the runner is free again, the tool keeps only what the camera
// confirmed and the user's files are as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>
#include <tuple>

#include "core/genicam/serial_register_port.h"
#include "core/protocol/reply_parser.h"
#include "fault_matrix/matrix_rig.h"

namespace vk::test {
namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;
constexpr int kWaitMs = MatrixRig::kWaitMs;

struct MatrixFault {
    const char* name;
    sim::FaultSettings settings;  // `after` is set to the operation's mid-way point
    bool midway;
    std::vector<ExchangeStatus> statuses;  // the failures it may be reported as
    bool lineLost;                         // the camera has to be plugged in again
    // The camera's whole answer follows the junk, so the operation may take it and go on;
    // the overflow is told all the same.
    bool mayComplete = false;
    // The camera answers again after a while: a resend may reach it.
    bool passes = false;
};

const std::vector<MatrixFault>& Faults() {
    using sim::Fault;
    using S = ExchangeStatus;
    static const std::vector<MatrixFault> faults = {
        {"SilentFromStart", {Fault::Silent}, false, {S::TimedOut}, false},
        {"SilentMidway", {Fault::Silent}, true, {S::TimedOut}, false},
        {"Garbage", {Fault::Garbage}, true, {S::Refused, S::TimedOut}, false},
        {"OverlongLine",
         {Fault::Overlong, 0, 1},
         true,
         {S::Overflow, S::Refused, S::TimedOut},
         false,
         true},
        {"HangUpMidway", {Fault::HangUp}, true, {S::LineGone}, true},
        {"DeviceRemoved", {Fault::Unplug}, true, {S::LineGone}, true},
        {"ReplyPastTimeout",
         {Fault::Delay, 3 * kWaitMs, 1},
         true,
         {S::TimedOut},
         false,
         false,
         true},
        {"CameraResets", {Fault::Reset, 2 * kWaitMs, 1}, true, {S::TimedOut}, false, false, true},
    };
    return faults;
}

std::map<std::string, std::string> FilesIn(const TempDir& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
    }
    return files;
}

class FaultMatrix : public ::testing::TestWithParam<std::tuple<std::size_t, std::size_t>> {
protected:
    const MatrixOperation& Op() const { return MatrixOperations()[std::get<0>(GetParam())]; }
    const MatrixFault& Fault() const { return Faults()[std::get<1>(GetParam())]; }

    // The camera values the tool holds, by row.
    std::vector<std::optional<std::int32_t>> CameraValues() {
        std::vector<std::optional<std::int32_t>> values;
        for (int row = 0; row < rig.core.exchange.Controls().RowCount(); ++row)
            values.push_back(rig.core.exchange.Values().ValueAt(row));
        return values;
    }

    // Whether the camera answered a query of the row with the value, or took a set of it.
    bool Confirmed(const ControlEntry& row, std::int32_t value,
                   const std::vector<sim::AnsweredLine>& answered) {
        const Exchange& exchange = rig.core.exchange;
        const std::string mnemonic = exchange.GetMnemonic(row.commandId);
        ParamValue set;
        set.intValue = value;
        const std::string setLine = exchange.BuildSetCommand(row.commandId, set, false);
        return std::any_of(answered.begin(), answered.end(), [&](const sim::AnsweredLine& a) {
            if (a.line == setLine) return a.answer == "COMPLETE";
            const ParsedReply reply = exchange.ParseReply(a.answer);
            return a.line == mnemonic + "?" && reply.valid && reply.mnemonic == mnemonic &&
                   reply.value.intValue == value;
        });
    }

    void ExpectTheFailure(const Ending& ending) {
        if (!Fault().mayComplete) {
            EXPECT_FALSE(ending.complete);
        }
        std::vector<ExchangeStatus> allowed = Fault().statuses;
        // A late acknowledgement may meet the resend's and be read as none.
        if (Op().resends && Fault().passes) allowed.push_back(ExchangeStatus::Refused);
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), ending.status), allowed.end())
            << "ended " << StatusName(ending.status) << ": " << ending.message;
        EXPECT_FALSE(ending.message.empty()) << StatusName(ending.status);
    }

    // After a lost line the runner still runs the next operation, which fails at once; with
    // the camera back the tool talks to it again.
    void ExpectTheNextOperationRuns() {
        if (Fault().lineLost) {
            bool ran = false;
            const auto start = Clock::now();
            const ExchangeResult gone = rig.core.runner.Run({"next"}, [&](Operation&) {
                ran = true;
                return rig.core.modelCheck.Check();
            });
            EXPECT_TRUE(ran);
            EXPECT_EQ(gone.status, ExchangeStatus::LineGone);
            EXPECT_LT(Clock::now() - start, Ms(kWaitMs));
            rig.Unplug();
            ASSERT_NO_FATAL_FAILURE(rig.Plug());
            return;
        }
        rig.camera->ClearFault();
        // A camera that reset does not listen until it has started again.
        if (Fault().settings.fault == sim::Fault::Reset)
            std::this_thread::sleep_for(Ms(Fault().settings.delayMs));
        // Late answers may still be on the way. A query no operation here sends first: the
        // answer to one that went unanswered could still be taken for the late one.
        std::int32_t area = -1;
        const ExchangeResult next = rig.core.runner.Run({"next"}, [&](Operation& op) {
            const auto asked = op.exchange.QueryInt(Cmd("EA"), 8 * kWaitMs);
            area = asked.value;
            return asked;
        });
        EXPECT_TRUE(next.ok()) << next.Describe();
        EXPECT_EQ(std::to_string(area), rig.camera->Value("EA"));
    }

    MatrixRig rig;
};

TEST_P(FaultMatrix, EndsInTimeWithItsFailureAndKeepsOnlyWhatTheCameraConfirmed) {
    ASSERT_NO_FATAL_FAILURE(rig.Plug());
    // The same operation without a fault: it completes, and says how long the work takes.
    auto start = Clock::now();
    const Ending clean = Op().run(rig);
    const auto cleanTime = Clock::now() - start;
    ASSERT_TRUE(clean.complete) << clean.message;

    const auto before = CameraValues();
    const auto files = FilesIn(rig.dir);
    rig.camera->ClearReceivedLines();
    sim::FaultSettings fault = Fault().settings;
    fault.after = Fault().midway ? Op().midway : 0;
    rig.camera->SetFault(fault);
    const std::size_t operationsBefore = rig.ui.operations.size();

    start = Clock::now();
    const Ending ending = Op().run(rig);
    const auto took = Clock::now() - start;

    // Bounded by the work itself and the waits the design allows, with room to spare.
    const int sends = Op().resends ? 1 + SerialRegisterPort::kMaxResends : 1;
    const auto bound = 2 * (cleanTime + Ms((Op().waits * sends + 2) * kWaitMs + fault.delayMs));
    EXPECT_LT(took, bound) << "took " << std::chrono::duration_cast<Ms>(took).count() << " ms";

    const bool succeeded = ending.complete && ending.status == ExchangeStatus::Ok;
    if (succeeded && Op().resends && Fault().passes) {
        // A resend reached the camera once it answered again: recovered, as it should.
    } else if (Fault().mayComplete && succeeded) {
        // Nothing failed; only a load keeps the overflow to itself.
        EXPECT_STREQ(Op().name, "SettingFileLoad");
    } else {
        ExpectTheFailure(ending);
    }

    // The runner and the windows are free again.
    EXPECT_FALSE(rig.core.runner.Running());
    EXPECT_FALSE(rig.core.exchange.LineHeld());
    EXPECT_FALSE(rig.ui.progressOpen);
    EXPECT_EQ(rig.ui.operations.size(), operationsBefore + 1);
    EXPECT_EQ(rig.ui.operationsEnded, static_cast<int>(rig.ui.operations.size()));

    // No value the camera did not confirm.
    const std::vector<sim::AnsweredLine> answered = rig.camera->AnsweredLines();
    const auto after = CameraValues();
    const auto& rows = rig.core.exchange.Controls().Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (after[i] == before[i]) continue;
        ASSERT_TRUE(after[i].has_value());  // a value, once known, is never forgotten here
        EXPECT_TRUE(Confirmed(rows[i], *after[i], answered))
            << rig.core.exchange.GetMnemonic(rows[i].commandId) << " became " << *after[i];
    }
    // Register values read under the fault are the ones read without it.
    std::map<int, std::vector<std::uint8_t>> cleanRegisters(clean.registers.begin(),
                                                            clean.registers.end());
    for (const auto& [record, bytes] : ending.registers) {
        EXPECT_EQ(bytes, cleanRegisters[record])
            << rig.description.records[static_cast<std::size_t>(record)].displayName;
    }

    // The user's files are as they were, and nothing was left beside them.
    EXPECT_EQ(FilesIn(rig.dir), files);

    ASSERT_NO_FATAL_FAILURE(ExpectTheNextOperationRuns());
    EXPECT_TRUE(Op().run(rig).complete);
}

std::string CaseName(const ::testing::TestParamInfo<FaultMatrix::ParamType>& info) {
    return std::string(MatrixOperations()[std::get<0>(info.param)].name) + "_" +
           Faults()[std::get<1>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(
    OperationByFault, FaultMatrix,
    ::testing::Combine(::testing::Range<std::size_t>(0, MatrixOperations().size()),
                       ::testing::Range<std::size_t>(0, Faults().size())),
    CaseName);

}  // namespace
}  // namespace vk::test
