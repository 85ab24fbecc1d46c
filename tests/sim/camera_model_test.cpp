#include "sim/camera_model.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/control_rows.h"

namespace vk::sim {
namespace {

class CameraModelTest : public ::testing::Test {
protected:
    std::string Ask(const std::string& line) { return camera.Handle(line).text; }
    std::string Value(const std::string& mnemonic) {
        return camera.Value(mnemonic).value_or("<none>");
    }

    CameraModel camera;
};

TEST_F(CameraModelTest, AParameterAcceptsExactlyItsRange) {
    EXPECT_EQ(Ask("PE=10"), "COMPLETE");
    EXPECT_EQ(Ask("PE=8000000"), "COMPLETE");
    EXPECT_EQ(Ask("PE=8000001"), "ERROR");
    EXPECT_EQ(Ask("PE=9"), "ERROR");
    EXPECT_EQ(Ask("PE?"), "PE=8000000");  // refused values change nothing

    EXPECT_EQ(Ask("GA=-84"), "COMPLETE");
    EXPECT_EQ(Ask("GA=-85"), "ERROR");
    EXPECT_EQ(Ask("GA?"), "GA=-84");
    EXPECT_EQ(Ask("ALCLR=2"), "ERROR");  // a check box is 0 or 1
    EXPECT_EQ(Ask("ALCLR=0"), "COMPLETE");

    // A power-on value outside the range can be written back (a saved file holds it).
    EXPECT_EQ(Ask("MRH1=0"), "COMPLETE");
    EXPECT_EQ(Ask("MRH1=2049"), "ERROR");
}

TEST_F(CameraModelTest, OnlyWholeDecimalNumbersAreValues) {
    for (const char* bad : {"PE=", "PE=12x", "PE= 12", "PE=1.5", "PE=&H20", "PE=99999999999"}) {
        EXPECT_EQ(Ask(bad), "ERROR") << bad;
    }
    EXPECT_EQ(Ask("PE=+0020"), "COMPLETE");
    EXPECT_EQ(Ask("PE?"), "PE=20");           // kept in its plain form
    EXPECT_EQ(Ask("EM=123456"), "COMPLETE");  // a drop-down list without a range takes any number
}

TEST_F(CameraModelTest, UnknownOrMalformedLinesAreErrors) {
    for (const char* bad : {"XYZ?", "XYZ=1", "PE", "", "=5", "?", "pe?", "PE?1", "P E?"}) {
        EXPECT_EQ(Ask(bad), "ERROR") << bad;
    }
}

// The power-on versions and ids are CliInfo's; only the writing rules are checked here.
TEST_F(CameraModelTest, CommandsWithoutARowHoldValuesOfTheCamerasOwn) {
    EXPECT_EQ(Ask("EB=7"), "COMPLETE");
    EXPECT_EQ(Ask("EB?"), "EB=7");
    // Versions, status and results are the camera's to say.
    for (const char* readOnly : {"VN=1", "FPVN=1", "MD=X", "TMP0=1", "EA=1", "PCV=1", "AWRS=0"}) {
        EXPECT_EQ(Ask(readOnly), "ERROR") << readOnly;
    }
    EXPECT_EQ(Ask("DVW=1203"), "COMPLETE");
    EXPECT_EQ(Ask("DVW?"), "DVW=1203");
    EXPECT_EQ(Ask("DVW=10000"), "ERROR");
}

TEST_F(CameraModelTest, TheModelTextDecidesColourAndCanBeWritten) {
    EXPECT_TRUE(camera.IsColour());
    EXPECT_EQ(Ask("HB?"), "ERROR");  // binning only exists on monochrome cameras
    EXPECT_EQ(Ask("MD00=VK-4100M-PMCL"), "COMPLETE");
    EXPECT_EQ(Ask("MD?"), "MD=VK-4100M-PMCL");
    EXPECT_FALSE(camera.IsColour());
    EXPECT_EQ(Ask("HB?"), "HB=1");
    EXPECT_EQ(Ask("HB=3"), "ERROR");
    EXPECT_EQ(Ask("HB=2"), "COMPLETE");
    EXPECT_EQ(Ask("MD00="), "ERROR");

    CameraModel mono(ModelOptions{"VK-4100M-PMCL"});
    EXPECT_FALSE(mono.IsColour());
    EXPECT_EQ(mono.Handle("VB?").text, "VB=1");
}

TEST_F(CameraModelTest, FlashAreasStoreAndLoadTheCurrentSettings) {
    EXPECT_EQ(Ask("EA?"), "EA=0");
    ASSERT_EQ(Ask("PE=500"), "COMPLETE");
    ASSERT_EQ(Ask("GA=7"), "COMPLETE");
    EXPECT_EQ(Ask("SA=2"), "COMPLETE");
    EXPECT_EQ(Ask("EA?"), "EA=2");
    ASSERT_EQ(Ask("PE=900"), "COMPLETE");
    EXPECT_EQ(Ask("LD=0"), "COMPLETE");  // the factory area still holds the defaults
    EXPECT_EQ(Ask("PE?"), "PE=10");
    EXPECT_EQ(Ask("EA?"), "EA=0");
    EXPECT_EQ(Ask("LD=2"), "COMPLETE");
    EXPECT_EQ(Ask("PE?"), "PE=500");
    EXPECT_EQ(Ask("GA?"), "GA=7");

    EXPECT_EQ(Ask("SA=0"), "ERROR");  // the factory area is written only by SA00
    EXPECT_EQ(Ask("SA=4"), "ERROR");
    EXPECT_EQ(Ask("LD=4"), "ERROR");
    EXPECT_EQ(Ask("SA00=1"), "ERROR");
    EXPECT_EQ(Ask("SA00=0"), "COMPLETE");
    ASSERT_EQ(Ask("PE=33"), "COMPLETE");
    EXPECT_EQ(Ask("LD=0"), "COMPLETE");
    EXPECT_EQ(Ask("PE?"), "PE=500");
}

TEST_F(CameraModelTest, LutStepsThroughItsEntriesOnConsecutiveSetsAndQueries) {
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(Ask("LUTSG=" + std::to_string(4095 - i)), "COMPLETE") << i;
    }
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(Ask("LUTSG?"), "LUTSG=" + std::to_string(4095 - i)) << i;
    }
    EXPECT_EQ(Ask("LUTSG?"), "LUTSG=4095");  // the 257th query wraps round to entry 0
    EXPECT_EQ(camera.LutTable(1)[255], 3840);
    EXPECT_EQ(camera.LutTable(0)[255], 4095);  // other channels keep their linear table
    EXPECT_EQ(camera.LutTable(0)[0], 0);

    // Any other command in between starts the next run at entry 0 again.
    ASSERT_EQ(Ask("LUTSR=11"), "COMPLETE");
    ASSERT_EQ(Ask("LUTSR=12"), "COMPLETE");
    ASSERT_EQ(Ask("PE?"), "PE=10");
    ASSERT_EQ(Ask("LUTSR=21"), "COMPLETE");
    EXPECT_EQ(Ask("LUTSR?"), "LUTSR=21");  // a change of direction restarts as well
    EXPECT_EQ(Ask("LUTSR?"), "LUTSR=12");

    // A refused value does not move on to the next entry.
    ASSERT_EQ(Ask("PE?"), "PE=10");
    EXPECT_EQ(Ask("LUTSB=4096"), "ERROR");
    EXPECT_EQ(Ask("LUTSB=5"), "COMPLETE");
    EXPECT_EQ(camera.LutTable(2)[0], 5);
}

TEST_F(CameraModelTest, IndexedEntriesAreSetWithIndexAndValueAndQueriedByIndex) {
    EXPECT_EQ(Ask("BMPXW=5,2559"), "COMPLETE");
    EXPECT_EQ(Ask("BMPXW?5"), "BMPXW=2559");
    EXPECT_EQ(Ask("BMPXW?6"), "BMPXW=0");
    EXPECT_EQ(Ask("BMPYW?5"), "BMPYW=0");  // every table is its own
    EXPECT_EQ(Ask("FBMPXB=512,7"), "COMPLETE");
    EXPECT_EQ(Ask("FBMPXB?512"), "FBMPXB=7");

    for (const char* bad : {"BMPXW=0,1", "BMPXW=257,1", "BMPXW=5,2560", "BMPXW=5", "BMPXW=,5",
                            "BMPXW?", "BMPXW?257", "BMPXW?x", "BMPYW=1,2048"}) {
        EXPECT_EQ(Ask(bad), "ERROR") << bad;
    }
    EXPECT_EQ(Ask("BMPXW?5"), "BMPXW=2559");

    // The indexed LUT entries are the same tables that LUTSR/LUTSG/LUTSB step through.
    EXPECT_EQ(Ask("LUTR=0,4000"), "COMPLETE");
    EXPECT_EQ(Ask("LUTSR?"), "LUTSR=4000");
    EXPECT_EQ(Ask("LUTB?255"), "LUTB=4095");
    EXPECT_EQ(Ask("LUTG=256,1"), "ERROR");
    EXPECT_EQ(Value("LUTR?0"), "4000");
}

TEST_F(CameraModelTest, TheCameraIdIsWrittenOnlyRightAfterTheUnlockCode) {
    EXPECT_EQ(Ask("ID?"), "ID=VK00000001");
    EXPECT_EQ(Ask("ID=AB12345678"), "ERROR");
    EXPECT_EQ(Ask("ULCK=1234567"), "ERROR");
    EXPECT_EQ(Ask("ID=AB12345678"), "ERROR");
    EXPECT_EQ(Ask("ULCK=5127038"), "COMPLETE");
    EXPECT_EQ(Ask("ID=AB12345678"), "COMPLETE");
    EXPECT_EQ(Ask("ID?"), "ID=AB12345678");
    EXPECT_EQ(Ask("ID=CD12345678"), "ERROR");  // the unlock holds for one write
    EXPECT_EQ(Ask("ULCK=5127038"), "COMPLETE");
    EXPECT_EQ(Ask("ID=ABCDEFGHIJK"), "ERROR");  // ten characters at most
    EXPECT_EQ(Ask("ID?"), "ID=AB12345678");
    EXPECT_EQ(Ask("ULCK=5127038"), "COMPLETE");
    EXPECT_EQ(Ask("VN?"), "VN=105");
    EXPECT_EQ(Ask("ID=CD12345678"), "ERROR");  // another line came between
    EXPECT_EQ(Ask("ID?"), "ID=AB12345678");
}

TEST_F(CameraModelTest, TheUserIdHoldsAtMostSixteenCharacters) {
    EXPECT_EQ(Ask("UD=ABCDEFGHIJKLMNOP"), "COMPLETE");
    EXPECT_EQ(Ask("UD?"), "UD=ABCDEFGHIJKLMNOP");
    EXPECT_EQ(Ask("UD=ABCDEFGHIJKLMNOPQ"), "ERROR");
    EXPECT_EQ(Ask("UD=Line 1"), "COMPLETE");  // letter case and blanks as written
    EXPECT_EQ(Ask("UD?"), "UD=Line 1");
    EXPECT_EQ(Ask("UD=\x01"), "ERROR");
    EXPECT_EQ(Ask("UD="), "COMPLETE");
    EXPECT_EQ(Ask("UD?"), "UD=");
}

TEST_F(CameraModelTest, PolledAutomaticFunctionsAreBusyForAFewPollsThenReport) {
    EXPECT_EQ(Ask("AWRS?"), "AWRS=0");
    EXPECT_EQ(Ask("AWB=1"), "COMPLETE");
    EXPECT_EQ(Ask("AWRS?"), "AWRS=4");
    EXPECT_EQ(Ask("AWRS?"), "AWRS=4");
    EXPECT_EQ(Ask("AWRS?"), "AWRS=0");
    EXPECT_EQ(Ask("AWRS?"), "AWRS=0");
    EXPECT_EQ(Ask("AWB?"), "AWB=0");  // "once" is off again when it is done

    ASSERT_TRUE(camera.SetValue("AGRS", "2"));  // the next run ends "Too Dark"
    EXPECT_EQ(Ask("AGC=1"), "COMPLETE");        // continuous: nothing to poll
    EXPECT_EQ(Ask("AGRS?"), "AGRS=2");
    EXPECT_EQ(Ask("AGC=2"), "COMPLETE");
    EXPECT_EQ(Ask("AGRS?"), "AGRS=4");
    EXPECT_EQ(Ask("AGRS?"), "AGRS=4");
    EXPECT_EQ(Ask("AGRS?"), "AGRS=2");

    EXPECT_EQ(Ask("ASC=2"), "COMPLETE");
    EXPECT_EQ(Ask("ASRS?"), "ASRS=4");

    CameraModel quick(ModelOptions{"VK-4100C-PMCL", 0});
    EXPECT_EQ(quick.Handle("AWB=1").text, "COMPLETE");
    EXPECT_EQ(quick.Handle("AWRS?").text, "AWRS=0");
}

TEST_F(CameraModelTest, TapBalanceAndShadingReportTheirResultAtOnce) {
    ASSERT_TRUE(camera.SetValue("BBRS", "5"));
    EXPECT_EQ(Ask("AWA=1"), "COMPLETE");
    EXPECT_EQ(Ask("WBRS?"), "WBRS=0");
    EXPECT_EQ(Ask("ABA=1"), "COMPLETE");
    EXPECT_EQ(Ask("BBRS?"), "BBRS=5");
    EXPECT_EQ(Ask("RS=0"), "COMPLETE");
    EXPECT_EQ(Ask("SDRS?"), "SDRS=0");
}

TEST_F(CameraModelTest, TheSequenceResetClearsItsIndex) {
    ASSERT_TRUE(camera.SetValue("SQIDX", "6"));
    EXPECT_EQ(Ask("SQRST=0"), "COMPLETE");
    EXPECT_EQ(Ask("SQIDX?"), "SQIDX=0");
}

TEST_F(CameraModelTest, TheLensIrisMovesTheIrisPositionWithinItsStops) {
    EXPECT_EQ(Ask("MLI=2"), "COMPLETE");  // close one stop
    EXPECT_EQ(Ask("MLI=0"), "COMPLETE");
    EXPECT_EQ(Ask("PCV?"), "PCV=1");
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(Ask("MLI=2"), "COMPLETE");
    }
    EXPECT_EQ(Ask("PCV?"), "PCV=11");
    EXPECT_EQ(Ask("MLI=1"), "COMPLETE");
    EXPECT_EQ(Ask("PCV?"), "PCV=10");
    EXPECT_EQ(Ask("MLI=3"), "ERROR");
    EXPECT_EQ(Ask("MLZ=2"), "COMPLETE");
    EXPECT_EQ(Ask("MLF=1"), "COMPLETE");
    EXPECT_EQ(Ask("MLZ?"), "MLZ=2");
}

TEST_F(CameraModelTest, AResetAnswersThenGoesQuietAndComesBackWithItsBootArea) {
    ASSERT_EQ(Ask("PE=700"), "COMPLETE");
    ASSERT_EQ(Ask("SA=1"), "COMPLETE");
    ASSERT_EQ(Ask("PE=800"), "COMPLETE");
    const Response reset = camera.Handle("CRS00=1");
    EXPECT_EQ(reset.text, "COMPLETE");
    EXPECT_GT(reset.silence.count(), 0);
    EXPECT_EQ(Ask("PE?"), "PE=700");
    EXPECT_EQ(camera.Handle("CRS00=0").silence.count(), 0);
    EXPECT_EQ(Ask("CRS00=2"), "ERROR");
}

}  // namespace
}  // namespace vk::sim
