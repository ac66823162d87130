// Availability exports: 1 or 0 from what the system answers, never an error.
#include "RuntimeFixture.h"
#include "tavlet.h"

namespace {

const std::wstring kApiInformation = L"Windows.Foundation.Metadata.ApiInformation";
const std::wstring kDataPackage = L"Windows.ApplicationModel.DataTransfer.DataPackage";

using AvailabilityTest = ApartmentTest;

TEST_F(AvailabilityTest, AnswersWhatTheSystemSaysAsOneOrZero) {
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 1);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(L"Contoso.NoSuchType"), 0);

    sim::SetMethodPresent(kDataPackage, L"SetText", true);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(kDataPackage.c_str(), L"SetText"), 1);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(kDataPackage.c_str(), L"SetBitmap"), 0);

    sim::SetEventPresent(kDataPackage, L"ShareCompleted", false);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledEvent(kDataPackage.c_str(), L"ShareCompleted"), 0);
    sim::SetEventPresent(kDataPackage, L"ShareCompleted", true);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledEvent(kDataPackage.c_str(), L"ShareCompleted"), 1);
}

TEST_F(AvailabilityTest, NullNamesAreAskedAsEmptyNames) {
    sim::SetTypePresent(L"", true);
    sim::SetEventPresent(kDataPackage, L"", true);
    sim::SetMethodPresent(L"", L"", true);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(nullptr), 1);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledEvent(kDataPackage.c_str(), nullptr), 1);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(nullptr, nullptr), 1);
}

TEST_F(AvailabilityTest, AnyFailureAnswersZero) {
    sim::FailAlways("IApiInformationStatics.IsTypePresent", E_ACCESSDENIED);
    sim::FailAlways("IApiInformationStatics.IsEventPresent", E_INVALIDARG);
    sim::FailAlways("IApiInformationStatics.IsMethodPresent", E_OUTOFMEMORY);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 0);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledEvent(kDataPackage.c_str(), L"ShareCompleted"), 0);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledMethod(kDataPackage.c_str(), L"SetText"), 0);
}

TEST_F(AvailabilityTest, AnswersAreNeverCached) {
    sim::SetTypePresent(L"Contoso.Widget", true);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(L"Contoso.Widget"), 1);
    sim::SetTypePresent(L"Contoso.Widget", false);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(L"Contoso.Widget"), 0);
    EXPECT_EQ(sim::Calls("IApiInformationStatics.IsTypePresent"), 2);
}

// A failed first factory request answers 0 and is tried again by the next query.
TEST_F(AvailabilityTest, FailedFirstFactoryRequestIsRetried) {
    sim::FailNext("Windows.Foundation.Metadata.ApiInformation", 1, REGDB_E_CLASSNOTREG);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 0);
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(kApiInformation.c_str()), 1);
    EXPECT_EQ(sim::FactoryRequests(kApiInformation), 2);
}

// Each test runs in a process of its own, so "first use" is this test's first query.
TEST_F(AvailabilityTest, AgileFactoryIsRequestedOncePerProcess) {
    for (int i = 0; i < 5; ++i) _WinRTApiInformation_IsEnabledType(kApiInformation.c_str());
    EXPECT_EQ(sim::FactoryRequests(kApiInformation), 1);
}

TEST_F(AvailabilityTest, NonAgileFactoryIsRequestedForEveryQuery) {
    sim::SetAgile(kApiInformation, false);
    _WinRTApiInformation_IsEnabledType(kApiInformation.c_str());  // first use: the probe and the query
    long afterFirst = sim::FactoryRequests(kApiInformation);
    for (int i = 0; i < 5; ++i) _WinRTApiInformation_IsEnabledType(kApiInformation.c_str());
    EXPECT_EQ(sim::FactoryRequests(kApiInformation) - afterFirst, 5);
}

}  // namespace
