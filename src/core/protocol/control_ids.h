#pragma once

// The page controls that carry no command of their own: buttons whose action sends
// another command or several, the fields an action writes into, and the model id list.
// Their ids share one space with the control rows' ids (a test keeps them apart); the
// tables name every other control by its command.
namespace vk {

struct ControlName {
    int id;
};

namespace controls {
// User A
inline constexpr ControlName kSoftTrigger{2598};
// User B
inline constexpr ControlName kIrisStatus{2605};
inline constexpr ControlName kIrisPosition{4633};
inline constexpr ControlName kRecalibrateWhite{2051};
inline constexpr ControlName kWhiteHorizontalWrite{2068};
inline constexpr ControlName kWhiteHorizontalRead{2146};
inline constexpr ControlName kWhiteVerticalWrite{2069};
inline constexpr ControlName kWhiteVerticalRead{2147};
inline constexpr ControlName kWhiteBlemishCount{4917};
inline constexpr ControlName kLensControl{4922};
// User C
inline constexpr ControlName kTemperature{1440};
inline constexpr ControlName kReadTemperature{2070};
inline constexpr ControlName kOpenLutTable{2214};
inline constexpr ControlName kLutRedWrite{4608};
inline constexpr ControlName kLutRedRead{4607};
inline constexpr ControlName kLutGreenWrite{4614};
inline constexpr ControlName kLutGreenRead{4613};
inline constexpr ControlName kLutBlueWrite{4621};
inline constexpr ControlName kLutBlueRead{4620};
inline constexpr ControlName kAlcStatus{2565};
// User E
inline constexpr ControlName kSequenceIndex{4907};
// Factory A
inline constexpr ControlName kGainReset{2545};
// Factory B
inline constexpr ControlName kBlackHorizontalWrite{2151};
inline constexpr ControlName kBlackHorizontalRead{2152};
inline constexpr ControlName kBlackVerticalWrite{2153};
inline constexpr ControlName kBlackVerticalRead{2154};
inline constexpr ControlName kFactoryBlackCount{4921};
inline constexpr ControlName kFactoryWhiteHorizontalWrite{4898};
inline constexpr ControlName kFactoryWhiteHorizontalRead{4899};
inline constexpr ControlName kFactoryWhiteVerticalWrite{4904};
inline constexpr ControlName kFactoryWhiteVerticalRead{4905};
inline constexpr ControlName kFactoryWhiteCount{4919};
// Factory C
inline constexpr ControlName kModelIdList{2548};
inline constexpr ControlName kWriteModelId{1020};
inline constexpr ControlName kXmlVersionMajor{4931};
inline constexpr ControlName kXmlVersionMinor{4932};
inline constexpr ControlName kXmlVersionBuild{4933};
inline constexpr ControlName kReadXmlVersion{4934};
inline constexpr ControlName kWriteXmlVersion{4935};
inline constexpr ControlName kReadXmlFile{4913};
inline constexpr ControlName kOpenXmlFile{4914};
inline constexpr ControlName kTerminal{1016};
inline constexpr ControlName kCameraReset{1018};
inline constexpr ControlName kStoreAll{1105};

inline constexpr ControlName kAll[] = {
    kSoftTrigger,
    kIrisStatus,
    kIrisPosition,
    kRecalibrateWhite,
    kWhiteHorizontalWrite,
    kWhiteHorizontalRead,
    kWhiteVerticalWrite,
    kWhiteVerticalRead,
    kWhiteBlemishCount,
    kLensControl,
    kTemperature,
    kReadTemperature,
    kOpenLutTable,
    kLutRedWrite,
    kLutRedRead,
    kLutGreenWrite,
    kLutGreenRead,
    kLutBlueWrite,
    kLutBlueRead,
    kAlcStatus,
    kSequenceIndex,
    kGainReset,
    kBlackHorizontalWrite,
    kBlackHorizontalRead,
    kBlackVerticalWrite,
    kBlackVerticalRead,
    kFactoryBlackCount,
    kFactoryWhiteHorizontalWrite,
    kFactoryWhiteHorizontalRead,
    kFactoryWhiteVerticalWrite,
    kFactoryWhiteVerticalRead,
    kFactoryWhiteCount,
    kModelIdList,
    kWriteModelId,
    kXmlVersionMajor,
    kXmlVersionMinor,
    kXmlVersionBuild,
    kReadXmlVersion,
    kWriteXmlVersion,
    kReadXmlFile,
    kOpenXmlFile,
    kTerminal,
    kCameraReset,
    kStoreAll,
};
}  // namespace controls

}  // namespace vk
