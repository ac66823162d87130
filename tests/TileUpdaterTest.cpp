// The tile updater: binding to a tile (per user or not), sending tile XML with
// tag and expiry, clearing and switching the notification queue.
#include "RuntimeFixture.h"
#include "tavlet.h"

#include <iterator>
#include <string>

namespace {

const wchar_t kXml[] = L"<tile><visual><binding template=\"TileMedium\"><text>3 new comments</text></binding></visual></tile>";
constexpr int64_t kUnixEpochTicks = 116444736000000000;

_WinRTTileUpdateArgs Args(const wchar_t* xml = kXml, const wchar_t* tag = L"",
                          uint64_t expiration = _WinRTTileUpdate_NoExpiration) {
    return {sizeof(_WinRTTileUpdateArgs), xml, tag, expiration};
}

class TileUpdaterTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        ASSERT_EQ(_WinRTTileUpdater_Alloc(&updater_), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTTileUpdater_Dealloc(updater_), S_OK);
        ApartmentTest::TearDown();
    }
    // Binds the test's handle to the application's main tile (updater record 0).
    void BindMainTile() { ASSERT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(updater_, nullptr, nullptr), S_OK); }
    HRESULT Send(const _WinRTTileUpdateArgs& args) { return _WinRTTileUpdater_Update(updater_, &args); }
    static std::vector<sim::TileUpdateRecord> Sent() { return sim::TileUpdaterAt(0).updates; }

    _WinRTTileUpdater* updater_ = nullptr;
};

// A null handle is refused first (before an unreadable args pointer is read);
// a handle never bound refuses everything without asking the runtime.
TEST_F(TileUpdaterTest, NullAndUnboundHandlesAreRefused) {
    EXPECT_EQ(_WinRTTileUpdater_Alloc(nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTTileUpdater_Dealloc(nullptr), S_OK);
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    ASSERT_NE(unreadable, nullptr);
    EXPECT_EQ(_WinRTTileUpdater_Update(nullptr, static_cast<const _WinRTTileUpdateArgs*>(unreadable)), E_INVALIDARG);
    VirtualFree(unreadable, 0, MEM_RELEASE);

    auto args = Args();
    for (auto* handle : {static_cast<_WinRTTileUpdater*>(nullptr), updater_}) {
        if (!handle) {
            EXPECT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(handle, nullptr, nullptr), E_INVALIDARG);
            EXPECT_EQ(_WinRTTileUpdater_InitWithSecondaryTile(handle, L"doc.1", nullptr), E_INVALIDARG);
        }
        EXPECT_EQ(_WinRTTileUpdater_Update(handle, &args), E_INVALIDARG);
        EXPECT_EQ(_WinRTTileUpdater_Clear(handle), E_INVALIDARG);
        EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuing(handle, 1), E_INVALIDARG);
        EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(handle, _WinRTTileSize_Wide, 1), E_INVALIDARG);
    }
    EXPECT_EQ(sim::TileUpdaterCount(), 0);
    EXPECT_EQ(sim::Calls("IXmlDocumentIO.LoadXml"), 0);
}

TEST_F(TileUpdaterTest, MalformedArgumentsAreRefusedBeforeAnythingIsSent) {
    BindMainTile();
    for (uint32_t size : {0u, 24u, 33u, 48u}) {
        auto args = Args();
        args.structSize = size;
        EXPECT_EQ(Send(args), E_INVALIDARG) << size;
    }
    EXPECT_EQ(_WinRTTileUpdater_Update(updater_, nullptr), E_INVALIDARG);
    EXPECT_EQ(Send(Args(nullptr)), E_INVALIDARG);
    EXPECT_EQ(Send(Args(kXml, nullptr)), E_INVALIDARG);
    EXPECT_EQ(sim::Calls("IXmlDocumentIO.LoadXml"), 0);
    EXPECT_TRUE(Sent().empty());
}

// Seconds since 1970 become 100-ns ticks since 1601; all bits set is no expiry;
// a time beyond the runtime's signed 64-bit range is refused.
TEST_F(TileUpdaterTest, ExpiryAndTagReachTheNotification) {
    BindMainTile();
    const struct {
        uint64_t seconds;
        HRESULT hr;
        int64_t ticks;  // 0: no expiry set
    } cases[] = {
        {0, S_OK, kUnixEpochTicks},
        {1767225600, S_OK, 134116992000000000},   // 2026-01-01
        {910692730085, S_OK, 9223372036850000000},  // the latest the runtime can hold
        {_WinRTTileUpdate_NoExpiration, S_OK, 0},
        {910692730086, E_INVALIDARG, 0},
        {_WinRTTileUpdate_NoExpiration - 1, E_INVALIDARG, 0},
    };
    for (const auto& c : cases) {
        size_t before = Sent().size();
        EXPECT_EQ(Send(Args(kXml, L"", c.seconds)), c.hr) << c.seconds;
        auto sent = Sent();
        ASSERT_EQ(sent.size(), before + (c.hr == S_OK ? 1 : 0));
        if (c.hr != S_OK) continue;
        EXPECT_EQ(sent.back().hasExpiration, c.ticks != 0) << c.seconds;
        EXPECT_EQ(sent.back().expirationTicks, c.ticks) << c.seconds;
        EXPECT_EQ(sent.back().xml, kXml);
    }
    EXPECT_EQ(sim::Calls("ITileNotification.put_Tag"), 0);  // empty tag: no tag
    EXPECT_EQ(Send(Args(kXml, L"comments")), S_OK);
    EXPECT_EQ(Sent().back().tag, L"comments");
}

// A document the XML parser refuses comes back with the parser's HRESULT; no
// notification is made or sent. Other runtime failures keep their code too.
TEST_F(TileUpdaterTest, ParseAndRuntimeErrorsAreReturnedWithNothingSent) {
    BindMainTile();
    const struct {
        const wchar_t* xml;
        HRESULT hr;
    } malformed[] = {
        {L"not xml at all", static_cast<HRESULT>(0xC00CE556)},         // invalid at the top level
        {L"", static_cast<HRESULT>(0xC00CE558)},                       // no root element
        {L"<tile><visual></tile>", static_cast<HRESULT>(0xC00CE56D)},  // end tag mismatch
        {L"<tile a='1' a='2'/>", static_cast<HRESULT>(0xC00CE554)},    // duplicate attribute
    };
    for (const auto& c : malformed) EXPECT_EQ(Send(Args(c.xml)), c.hr);
    EXPECT_EQ(sim::Calls("ITileNotificationFactory.CreateTileNotification"), 0);

    const struct {
        const char* member;
        HRESULT hr;
    } failures[] = {
        {"ITileNotificationFactory.CreateTileNotification", E_OUTOFMEMORY},
        {"IPropertyValueStatics.CreateDateTime", E_ACCESSDENIED},
        {"ITileUpdater.Update", static_cast<HRESULT>(0x803E0111)},
    };
    for (const auto& c : failures) {
        sim::FailNext(c.member, 1, c.hr);
        EXPECT_EQ(Send(Args(kXml, L"tag", 0)), c.hr) << c.member;
    }
    EXPECT_TRUE(Sent().empty());
}

TEST_F(TileUpdaterTest, QueueSwitchesFollowEnableAndSize) {
    BindMainTile();
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuing(updater_, 2), S_OK);  // any non-zero is on
    EXPECT_EQ(sim::TileUpdaterAt(0).queue, 1);
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, _WinRTTileSize_Wide, 1), S_OK);
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, _WinRTTileSize_Large, 0), S_OK);
    // Only the sizes that show notifications have a queue; above 5 is refused
    // even before the handle is looked at.
    for (uint32_t size : {0u, 1u, 2u, 6u})
        EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, size, 1), E_INVALIDARG) << size;
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(nullptr, 6, 1), E_INVALIDARG);
    auto record = sim::TileUpdaterAt(0);
    EXPECT_EQ(record.queueWide310x150, 1);
    EXPECT_EQ(record.queueSquare310x310, 0);
    EXPECT_EQ(record.queueSquare150x150, -1);  // never switched
    EXPECT_EQ(_WinRTTileUpdater_Clear(updater_), S_OK);
    EXPECT_EQ(sim::TileUpdaterAt(0).clears, 1);

    sim::SetTileUpdater2(false);  // an older system: no per-size queues
    ASSERT_EQ(_WinRTTileUpdater_InitWithSecondaryTile(updater_, L"doc.1", nullptr), S_OK);
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, _WinRTTileSize_Medium, 1),
              E_NOINTERFACE);
}

// Which runtime manager method each combination of ids reaches; binding again
// releases the previous updater, a failing bind keeps it.
TEST_F(TileUpdaterTest, BindingChoosesTheUpdaterByTileAndUser) {
    const struct {
        bool secondary;
        const wchar_t* id;
        const wchar_t* user;
        const char* method;
    } cases[] = {
        {false, nullptr, nullptr, "ITileUpdateManagerStatics.CreateTileUpdaterForApplication"},
        {false, L"Contoso.Reader", L"", "ITileUpdateManagerStatics.CreateTileUpdaterForApplicationWithId"},
        {false, nullptr, L"user-42", "ITileUpdateManagerForUser.CreateTileUpdaterForApplicationForUser"},
        {false, L"Contoso.Reader", L"user-42", "ITileUpdateManagerForUser.CreateTileUpdaterForApplication"},
        {true, L"doc.1", nullptr, "ITileUpdateManagerStatics.CreateTileUpdaterForSecondaryTile"},
        {true, L"doc.1", L"user-42", "ITileUpdateManagerForUser.CreateTileUpdaterForSecondaryTile"},
    };
    for (long i = 0; i < long(std::size(cases)); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.method);
        HRESULT hr = c.secondary ? _WinRTTileUpdater_InitWithSecondaryTile(updater_, c.id, c.user)
                                 : _WinRTTileUpdater_InitWithPrimaryTile(updater_, c.id, c.user);
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(sim::Calls(c.method), 1);
        auto record = sim::TileUpdaterAt(i);
        EXPECT_EQ(record.userId, c.user ? c.user : L"");
        EXPECT_EQ(c.secondary ? record.tileId : record.applicationId, c.id ? c.id : L"");
        if (i > 0) {
            EXPECT_FALSE(sim::TileUpdaterAt(i - 1).alive);
        }
    }
    EXPECT_EQ(sim::Calls("IUserStatics.GetFromId"), 3);

    sim::FailNext("ITileUpdateManagerStatics.CreateTileUpdaterForSecondaryTile", 1, E_ACCESSDENIED);
    EXPECT_EQ(_WinRTTileUpdater_InitWithSecondaryTile(updater_, L"doc.2", nullptr), E_ACCESSDENIED);
    EXPECT_EQ(_WinRTTileUpdater_Clear(updater_), S_OK);
    EXPECT_EQ(sim::TileUpdaterAt(long(std::size(cases)) - 1).clears, 1);
}

// Each test runs in a process of its own, so this is the first use: the agile
// factories are fetched once and kept, a new document is made for every update.
TEST_F(TileUpdaterTest, AgileFactoriesAreFetchedOncePerProcess) {
    BindMainTile();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Send(Args(kXml, L"tag", 0)), S_OK);
    for (const wchar_t* name : {L"Windows.Data.Xml.Dom.XmlDocument", L"Windows.UI.Notifications.TileNotification",
                                L"Windows.Foundation.PropertyValue", L"Windows.UI.Notifications.TileUpdateManager"})
        EXPECT_EQ(sim::FactoryRequests(name), 1) << static_cast<const void*>(name);
    EXPECT_EQ(sim::Calls("IActivationFactory.ActivateInstance(XmlDocument)"), 3);
}

}  // namespace
