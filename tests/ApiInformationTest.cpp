// Availability exports: 1 or 0 from what the system answers, never an error.
#include "Host.h"

namespace {

const std::wstring kApiInformation = L"Windows.Foundation.Metadata.ApiInformation";
const std::wstring kDataPackage = L"Windows.ApplicationModel.DataTransfer.DataPackage";

using AvailabilityTest = ApartmentTest;

// Null names are asked as empty names; answers are never cached; any failure answers 0.
TEST_F(AvailabilityTest, AnswersWhatTheSystemSaysAsOneOrZeroAndAnyFailureAsZero) {
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 1);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(L"Contoso.NoSuchType"), 0);
    sim::SetMethodPresent(kDataPackage, L"SetText", true);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(kDataPackage.c_str(), L"SetText"), 1);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(kDataPackage.c_str(), L"SetBitmap"), 0);
    for (bool present : {false, true}) {
        sim::SetEventPresent(kDataPackage, L"ShareCompleted", present);
        EXPECT_EQ(_WinRTApiInformation_IsEnabledEvent(kDataPackage.c_str(), L"ShareCompleted"), present);
        sim::SetTypePresent(L"", present);
        EXPECT_EQ(_WinRTApiInformation_IsEnabledType(nullptr), present);
    }
    sim::SetEventPresent(kDataPackage, L"", true);
    sim::SetMethodPresent(L"", L"", true);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledEvent(kDataPackage.c_str(), nullptr), 1);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(nullptr, nullptr), 1);
    EXPECT_EQ(sim::Calls("IApiInformationStatics.IsTypePresent"), 4);
    sim::FailAlways("IApiInformationStatics.IsTypePresent", E_ACCESSDENIED);
    sim::FailAlways("IApiInformationStatics.IsEventPresent", E_INVALIDARG);
    sim::FailAlways("IApiInformationStatics.IsMethodPresent", E_OUTOFMEMORY);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 0);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledEvent(kDataPackage.c_str(), L"ShareCompleted"), 0);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(kDataPackage.c_str(), L"SetText"), 0);
}

// Without an explicit answer, what came after Windows 10's first release is
// present from its first build on (an empty member asks for the type).
TEST_F(AvailabilityTest, DefaultAnswersFollowTheModelledBuild) {
    const struct {
        const wchar_t *type, *event;
        uint32_t firstBuild;
    } cases[] = {{L"Windows.UI.Input.RadialController", L"", 14393},
                 {L"Windows.UI.Input.RadialController", L"ButtonPressed", 15063},
                 {L"Windows.ApplicationModel.DataTransfer.ShareProvider", L"", 15063},
                 {L"Windows.ApplicationModel.DataTransfer.DataTransferManager", L"ShareProvidersRequested", 15063},
                 {kDataPackage.c_str(), L"ShareCompleted", 15063},
                 {kDataPackage.c_str(), L"ShareCanceled", 19041}};
    for (const auto& c : cases) {
        for (uint32_t build : {c.firstBuild - 1, c.firstBuild}) {
            sim::SetWindowsBuild(build);
            const BOOL present = *c.event ? _WinRTApiInformation_IsEnabledEvent(c.type, c.event)
                                          : _WinRTApiInformation_IsEnabledType(c.type);
            EXPECT_EQ(present, build == c.firstBuild) << build;
        }
    }
}

// An agile factory is requested once per process (each test runs in a process
// of its own), another for every query (its first, twice: to see whether it is
// agile, then to use it); a failed first request is tried again by the next query.
class FactoryTest : public AvailabilityTest, public testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(Agile, FactoryTest, testing::Bool());

TEST_P(FactoryTest, IsKeptOnlyWhenAgile) {
    sim::SetAgile(kApiInformation, GetParam());
    sim::FailNext("Windows.Foundation.Metadata.ApiInformation", 1, REGDB_E_CLASSNOTREG);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 1);
    EXPECT_EQ(sim::FactoryRequests(kApiInformation), GetParam() ? 2 : 7);
}

}  // namespace
