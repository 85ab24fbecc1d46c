#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/comm/rs232c_port.h"

namespace vk {
namespace {

using Names = std::vector<std::string>;

Names Sixteen() {
    Names names;
    for (int i = 1; i <= 16; ++i)
        names.push_back("COM" + std::to_string(i));
    return names;
}

TEST(WinComPortList, SystemPortsByNumberAfterThePinnedOnes) {
    struct Case {
        Names pinned, system, listed;
    };
    Names pinnedThenSixteen = Sixteen();
    pinnedThenSixteen.insert(pinnedThenSixteen.begin(), "COM40");
    const Case cases[] = {
        {{}, {}, Sixteen()},  // no list: the sixteen of old
        {{"COM40"}, {}, pinnedThenSixteen},
        // A USB adapter on COM23 appears; order by number, not by text.
        {{}, {"COM23", "COM3", "COM1"}, {"COM1", "COM3", "COM23"}},
        {{"COM3"}, {"COM23", "COM3"}, {"COM3", "COM23"}},  // each name once
        {{}, {"CNCA0", "COM2"}, {"COM2", "CNCA0"}},        // other names last
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Rs232cPort::ListComPorts(c.pinned, c.system), c.listed);
    }
}

// Wine lists the ports its prefix maps; whatever it lists, a pinned port leads.
TEST(WinComPortList, TheSystemListIsRead) {
    Rs232cPort port;
    port.PinPort("COM77");
    const Names names = port.PortNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "COM77");
}

}  // namespace
}  // namespace vk
