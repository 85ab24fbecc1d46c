#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vk {

using CommandId = std::int32_t;

// Every camera mnemonic, indexed by command id.
// clang-format off
inline constexpr std::array<std::string_view, 524> kMnemonics = {
    "EB",      "ST",      "HP",     "VN",      "MD",      "UD",      "DVW",     "ERRER",
    "CRS00",   "EM",      "PE",     "TRGOP",   "TM",      "STRG",    "TO",      "TI",
    "TA",      "TD",      "LS0",    "LS1",     "LS2",     "LI0",     "LI1",     "LI2",
    "PGDEV",   "PGL0",    "PGL1",   "PGL2",    "PGL3",    "PGST0",   "PGST1",   "PGST2",
    "PGST3",   "PGEN0",   "PGEN1",  "PGEN2",   "PGEN3",   "PGRPT0",  "PGRPT1",  "PGRPT2",
    "PGRPT3",  "PGCM0",   "PGCM1",  "PGCM2",   "PGCM3",   "PGSM0",   "PGSM1",   "PGSM2",
    "PGSM3",   "ND0IN1",  "ND1IN1", "ND0IN2",  "ND1IN2",  "PGIN0",   "PGIN1",   "PGIN2",
    "PGIN3",   "PGINV0",  "PGINV1", "PGINV2",  "PGINV3",  "ND0INV1", "ND0INV2", "ND1INV1",
    "ND1INV2", "MLI",     "MLZ",    "MLF",     "BA",      "OFL",     "HTL",     "OFC",
    "WTC",     "TAGM",    "ART",    "GA",      "FGA",     "GJUT2",   "GJUT3",   "GJUT4",
    "AGC",     "AGRS",    "AGCF",   "AGCGA",   "AGCGI",   "PGR",     "PGB",     "BL",
    "BOF",     "BL2",     "BL3",    "BL4",     "BLR1",    "BLB1",    "BLR2",    "BLB2",
    "BLR3",    "BLB3",    "BLR4",   "BLB4",    "PGS",     "PGR2",    "PGB2",    "PGR3",
    "PGB3",    "PGR4",    "PGB4",   "AWB",     "AWRS",    "AWA",     "WBRS",    "ABA",
    "BBRS",    "ASC",     "ASRS",   "ASCEA",   "ASCEI",   "LUTC",    "GMA",     "LUTSR",
    "LUTSG",   "LUTSB",   "LUTR",   "LUTG",    "LUTB",    "TPN",     "BMW",     "AIC",
    "AIS",     "SDM",     "SDCM",   "RS",      "SDRS",    "HB",      "VB",      "BMRCW",
    "BMTHW",   "BMPXW",   "BMPYW",  "TMP0",    "NR",      "ALCA",    "ALCLR",   "ALCLMR",
    "ALCLML",  "ALCLL",   "ALCMLR", "ALCMLMR", "ALCMLML", "ALCMLL",  "ALCMHR",  "ALCMHMR",
    "ALCMHML", "ALCMHL",  "ALCHR",  "ALCHMR",  "ALCHML",  "ALCHL",   "AWBA",    "AWBLR",
    "AWBLMR",  "AWBLML",  "AWBLL",  "AWBMLR",  "AWBMLMR", "AWBMLML", "AWBMLL",  "AWBMHR",
    "AWBMHMR", "AWBMHML", "AWBMHL", "AWBHR",   "AWBHMR",  "AWBHML",  "AWBHL",   "PIF",
    "PIS",     "PIP",     "PLS",    "PLI",     "PLA",     "PCV",     "PLSI",    "PLSA",
    "PLSL",    "MRIM",    "MROX1",  "MROX2",   "MROX3",   "MROX4",   "MROX5",   "MROX6",
    "MROX7",   "MROX8",   "MROY1",  "MROY2",   "MROY3",   "MROY4",   "MROY5",   "MROY6",
    "MROY7",   "MROY8",   "MRH1",   "MRH2",    "MRH3",    "MRH4",    "MRH5",    "MRH6",
    "MRH7",    "MRH8",    "MRW",    "VSM",     "CSQI",    "SQR",     "SQF1",    "SQF2",
    "SQF3",    "SQF4",    "SQF5",   "SQF6",    "SQF7",    "SQF8",    "SQF9",    "SQF10",
    "SQNI1",   "SQNI2",   "SQNI3",  "SQNI4",   "SQNI5",   "SQNI6",   "SQNI7",   "SQNI8",
    "SQNI9",   "SQNI10",  "SQW1",   "SQW2",    "SQW3",    "SQW4",    "SQW5",    "SQW6",
    "SQW7",    "SQW8",    "SQW9",   "SQW10",   "SQH1",    "SQH2",    "SQH3",    "SQH4",
    "SQH5",    "SQH6",    "SQH7",   "SQH8",    "SQH9",    "SQH10",   "SQOX1",   "SQOX2",
    "SQOX3",   "SQOX4",   "SQOX5",  "SQOX6",   "SQOX7",   "SQOX8",   "SQOX9",   "SQOX10",
    "SQOY1",   "SQOY2",   "SQOY3",  "SQOY4",   "SQOY5",   "SQOY6",   "SQOY7",   "SQOY8",
    "SQOY9",   "SQOY10",  "SQGA1",  "SQGA2",   "SQGA3",   "SQGA4",   "SQGA5",   "SQGA6",
    "SQGA7",   "SQGA8",   "SQGA9",  "SQGA10",  "SQPE1",   "SQPE2",   "SQPE3",   "SQPE4",
    "SQPE5",   "SQPE6",   "SQPE7",  "SQPE8",   "SQPE9",   "SQPE10",  "SQHB1",   "SQHB2",
    "SQHB3",   "SQHB4",   "SQHB5",  "SQHB6",   "SQHB7",   "SQHB8",   "SQHB9",   "SQHB10",
    "SQVB1",   "SQVB2",   "SQVB3",  "SQVB4",   "SQVB5",   "SQVB6",   "SQVB7",   "SQVB8",
    "SQVB9",   "SQVB10",  "SQLUT1", "SQLUT2",  "SQLUT3",  "SQLUT4",  "SQLUT5",  "SQLUT6",
    "SQLUT7",  "SQLUT8",  "SQLUT9", "SQLUT10", "SQBL1",   "SQBL2",   "SQBL3",   "SQBL4",
    "SQBL5",   "SQBL6",   "SQBL7",  "SQBL8",   "SQBL9",   "SQBL10",  "SQPGR1",  "SQPGR2",
    "SQPGR3",  "SQPGR4",  "SQPGR5", "SQPGR6",  "SQPGR7",  "SQPGR8",  "SQPGR9",  "SQPGR10",
    "SQPGB1",  "SQPGB2",  "SQPGB3", "SQPGB4",  "SQPGB5",  "SQPGB6",  "SQPGB7",  "SQPGB8",
    "SQPGB9",  "SQPGB10", "SQIDX",  "SQRST",   "SQLUT",   "CLCF",    "BNUM",    "VPB",
    "HES",     "HKS",     "ABG",    "SBS",     "SPO",     "BINN",    "LD",      "SA",
    "EA",      "SA00",    "ULCK",   "ID",      "MD00",    "BDRT",    "FPVN",    "GA01",
    "GA02",    "GA03",    "GA04",   "FBMRCB",  "FBMTHB",  "FBMPXB",  "FBMPYB",  "FBMRCW",
    "FBMTHW",  "FBMPXW",  "FBMPYW", "UPPW",    "UPBA",    "UPBS",    "UPIN",    "UPFS",
    "UPFC",    "UPSD",    "UPWF",   "BAS00",   "EHC",     "INTR",    "IWBC",    "FDP00",
    "CHAR",    "IRRG",    "ISC",    "ISL",     "AGCS",    "FGAF",    "GF2",     "GF3",
    "GF4",     "PGRF",    "PGBF",   "PGFR2",   "PGFB2",   "PGFR3",   "PGFB3",   "PGFR4",
    "PGFB4",   "BLF2",    "BLF3",   "BLF4",    "BLFR1",   "BLFB1",   "BLFR2",   "BLFB2",
    "BLFR3",   "BLFB3",   "BLFR4",  "BLFB4",   "AWAF",    "WBRFS",   "ABAF",    "BBRFS",
    "TRSW",    "TRUR",    "TRUGR",  "TRUGB",   "TRUB",    "TRLR",    "TRLGR",   "TRLGB",
    "TRLB",    "TRUM",    "TRLM",   "TATB",    "TATBR",   "BAG",     "ATM",     "FFK",
    "ATLA",    "ATLI",    "WEHL",   "WEHH",    "WEVL",    "WEVH",    "BOCMD",   "BOCM1",
    "BOCM2",   "BOCM3",   "BOCM4",  "DCMT",    "DCMP",    "TPHS",    "TPWV",    "DPS",
    "ADB",     "DBSTA1",  "DBSTO1", "DBSTA2",  "DBSTO2",  "BLF",     "FGAFA",   "CTCE",
    "CTG1",    "CTO1",    "CTP1",   "CTG2",    "CTO2",    "CTP2",    "BLLE",    "BLL1",
    "BLL2",    "BLL3",    "BLL4",   "BLL5",    "BLL6",    "BLL7",    "BLL8",    "BLL9",
    "BLL10",   "BLL11",   "BLL12",  "BLCE",    "BLC1",    "BLC2",    "BLC3",    "BLC4",
    "BLC5",    "BLC6",    "BLC7",   "BLC8",    "BLC9",    "BLC10",   "BLC11",   "BLC12",
    "DSNUVC",  "DSNUVD",  "DSNUHC", "DSNUHD",  "FAS",     "BLTMP",   "ALCST",   "FBNUM",
    "FBBNUM",  "FSV",     "FDEC",   "XMLVR",   "HKP",     "FWP1R",   "FWP1B",   "FWP2R",
    "FWP2B",   "FWP3R",   "FWP3B",  "TEMPF"};
// clang-format on

// The id of a mnemonic the code names, found while compiling: a misspelt name is a compile
// error, not a silent miss at run time.
consteval CommandId Cmd(std::string_view mnemonic) {
    for (std::size_t i = 0; i < kMnemonics.size(); ++i) {
        if (kMnemonics[i] == mnemonic) return static_cast<CommandId>(i);
    }
    throw "not a mnemonic of the command table";
}

// Whether `digits` is the decimal number `number`, without leading zeros.
consteval bool IsDecimal(std::string_view digits, int number) {
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return false;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value == number;
}

// The ids of a numbered run of mnemonics: Series<4>("PGL", 0) is PGL0 to PGL3.
template <std::size_t N>
consteval std::array<CommandId, N> Series(std::string_view prefix, int first = 1) {
    std::array<CommandId, N> ids{};
    for (std::size_t i = 0; i < N; ++i) {
        ids[i] = -1;
        for (std::size_t m = 0; m < kMnemonics.size(); ++m) {
            const std::string_view name = kMnemonics[m];
            if (name.starts_with(prefix) &&
                IsDecimal(name.substr(prefix.size()), first + static_cast<int>(i))) {
                ids[i] = static_cast<CommandId>(m);
            }
        }
        if (ids[i] < 0) throw "a numbered mnemonic is missing";
    }
    return ids;
}

}  // namespace vk
