// The tile updater: binding, tile XML with tag and expiry, the notification queue.
#include "Host.h"
#include "tavlet.h"

namespace {

const wchar_t kXml[] = L"<tile><visual><binding template=\"TileMedium\"><text>3 new</text></binding></visual></tile>";

// A packaged host, bound to its own main tile: updater record 0.
class TileUpdaterTest : public PackagedTest {
protected:
    void SetUp() override {
        PackagedTest::SetUp();
        ASSERT_EQ(_WinRTTileUpdater_Alloc(&updater_), S_OK);
        ASSERT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(updater_, nullptr, nullptr), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTTileUpdater_Dealloc(updater_), S_OK);
        PackagedTest::TearDown();
    }
    HRESULT Send(const wchar_t* xml, const wchar_t* tag = L"", uint64_t expiration = _WinRTTileUpdate_NoExpiration,
                 uint32_t size = sizeof(_WinRTTileUpdateArgs)) {
        _WinRTTileUpdateArgs args{size, xml, tag, expiration};
        return _WinRTTileUpdater_Update(updater_, &args);
    }
    static std::vector<sim::TileUpdateRecord> Sent() { return sim::TileUpdaterAt(0).updates; }

    _WinRTTileUpdater* updater_ = nullptr;
};

TEST_F(TileUpdaterTest, MalformedUpdatesAreRefusedBeforeAnythingIsSent) {
    // A null handle is refused before the arguments are read: here they cannot be.
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    EXPECT_EQ(_WinRTTileUpdater_Update(nullptr, static_cast<const _WinRTTileUpdateArgs*>(unreadable)), E_INVALIDARG);
    VirtualFree(unreadable, 0, MEM_RELEASE);
    EXPECT_EQ(Send(kXml, L"", 0, 24), E_INVALIDARG);
    EXPECT_EQ(Send(kXml, L"", 0, 33), E_INVALIDARG);
    EXPECT_EQ(Send(nullptr), E_INVALIDARG);
    EXPECT_EQ(Send(kXml, nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::Calls("IXmlDocumentIO.LoadXml"), 0);
    // The parser's own error comes back; a time beyond the runtime's range is refused.
    EXPECT_EQ(Send(L"<tile><visual></tile>"), static_cast<HRESULT>(0xC00CE56D));
    EXPECT_EQ(Send(kXml, L"", 910692730086), E_INVALIDARG);
    EXPECT_EQ(sim::Calls("ITileNotificationFactory.CreateTileNotification"), 0);
}

// Seconds since 1970 become 100-ns ticks since 1601; all bits set is no expiry.
TEST_F(TileUpdaterTest, ExpiryAndTagReachTheNotification) {
    const struct { uint64_t seconds; const wchar_t* tag; int64_t ticks; /* 0: no expiry */ } cases[] = {
        {0, L"", 116444736000000000},
        {910692730085, L"comments", 9223372036850000000},  // the latest the runtime can hold
        {_WinRTTileUpdate_NoExpiration, L"", 0},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Send(kXml, c.tag, c.seconds), S_OK) << c.seconds;
        auto sent = Sent().back();
        EXPECT_EQ(sent.hasExpiration, c.ticks != 0) << c.seconds;
        EXPECT_EQ(sent.expirationTicks, c.ticks) << c.seconds;
        EXPECT_EQ(sent.tag, c.tag);
    }
    EXPECT_EQ(sim::Calls("ITileNotification.put_Tag"), 1);
}

// Sizes 3..5 each switch their own queue; the small sizes have none, and a
// system without ITileUpdater2 has no queue per size at all.
TEST_F(TileUpdaterTest, QueueSwitchesReachTheUpdater) {
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuing(updater_, 2), S_OK);  // any non-zero is on
    const std::pair<uint32_t, int sim::TileUpdaterRecord::*> sizes[] = {
        {_WinRTTileSize_Medium, &sim::TileUpdaterRecord::queueSquare150x150},
        {_WinRTTileSize_Wide, &sim::TileUpdaterRecord::queueWide310x150},
        {_WinRTTileSize_Large, &sim::TileUpdaterRecord::queueSquare310x310}};
    for (const auto& [size, queue] : sizes) {
        EXPECT_EQ(sim::TileUpdaterAt(0).*queue, -1) << size;  // untouched by the sizes before
        EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, size, 1), S_OK);
        EXPECT_EQ(sim::TileUpdaterAt(0).*queue, 1) << size;
    }
    for (uint32_t size : {0u, 1u, 2u, 6u})
        EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, size, 0), E_INVALIDARG) << size;
    EXPECT_EQ(sim::TileUpdaterAt(0).queue, 1);
    sim::SetTileUpdater2(false);
    ASSERT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(updater_, nullptr, nullptr), S_OK);
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, _WinRTTileSize_Wide, 1), E_NOINTERFACE);
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuing(updater_, 0), S_OK);
    EXPECT_EQ(sim::TileUpdaterAt(1).queue, 0);
}

// Each binding asks the manager member for its tile (for the user, if one is
// named) and lets the previous updater go; null texts count as empty. Windows
// serves updaters to a packaged process only (a secondary tile's from build 17134 on).
TEST_F(TileUpdaterTest, BindingAsksForTheTileWhereIdentityAndBuildLetIt) {
    const HRESULT notFound = 0x80070490;
    const struct { bool packaged; uint32_t build; bool secondary; const wchar_t *id, *user; const char* member; HRESULT bound = S_OK; } cases[] = {
        {true, 19045, false, L"Contoso.App", nullptr, "Statics.CreateTileUpdaterForApplicationWithId"},
        {true, 19045, false, nullptr, L"user-42", "ForUser.CreateTileUpdaterForApplicationForUser"},
        {true, 19045, false, L"Contoso.App", L"user-42", "ForUser.CreateTileUpdaterForApplication"},
        {true, 19045, false, L"", L"", "Statics.CreateTileUpdaterForApplication"},
        {true, 17134, true, L"doc.1", nullptr, "Statics.CreateTileUpdaterForSecondaryTile"},
        {true, 19045, true, L"doc.1", L"user-42", "ForUser.CreateTileUpdaterForSecondaryTile"},
        {true, 19045, true, nullptr, nullptr, "Statics.CreateTileUpdaterForSecondaryTile"},
        {false, 19045, false, nullptr, nullptr, "Statics.CreateTileUpdaterForApplication", notFound},
        {false, 19045, false, nullptr, L"user-42", "ForUser.CreateTileUpdaterForApplicationForUser", notFound},
        {true, 17133, true, L"doc.1", L"user-42", "ForUser.CreateTileUpdaterForSecondaryTile", notFound},
    };
    for (const auto& c : cases) {
        const std::string member = std::string("ITileUpdateManager") + c.member;
        SCOPED_TRACE(testing::Message() << member << " " << c.packaged << " " << c.build);
        sim::SetPackaged(c.packaged);
        sim::SetWindowsBuild(c.build);
        const long calls = sim::Calls(member), previous = sim::TileUpdaterCount() - 1;
        auto init = c.secondary ? _WinRTTileUpdater_InitWithSecondaryTile : _WinRTTileUpdater_InitWithPrimaryTile;
        ASSERT_EQ(init(updater_, c.id, c.user), c.bound);
        EXPECT_EQ(sim::Calls(member), calls + 1);
        if (FAILED(c.bound)) continue;
        EXPECT_FALSE(sim::TileUpdaterAt(previous).alive);
        ASSERT_EQ(Send(kXml), S_OK);
        auto record = sim::TileUpdaterAt(previous + 1);
        EXPECT_EQ(record.forUser, c.user && *c.user);
        EXPECT_EQ(record.userId, c.user ? c.user : L"");
        EXPECT_EQ(record.secondaryTile, c.secondary);
        EXPECT_EQ(c.secondary ? record.tileId : record.applicationId, c.id ? c.id : L"");
    }
}

// A failed runtime call keeps the bound updater; an empty answer leaves none.
TEST_F(TileUpdaterTest, RefusedBindingKeepsTheUpdaterAndAnEmptyOneUnbindsIt) {
    // A runtime failure keeps its code, E_OUTOFMEMORY included.
    const struct { const char* member; const wchar_t* user; HRESULT hr; } failing[] = {{"ITileUpdateManagerStatics.CreateTileUpdaterForSecondaryTile", nullptr, E_ACCESSDENIED},
                   {"IUserStatics.GetFromId", L"user-42", E_ACCESSDENIED},
                   {"ITileUpdateManagerStatics2.GetForUser", L"user-42", E_OUTOFMEMORY},
                   {"ITileUpdateManagerForUser.CreateTileUpdaterForSecondaryTile", L"user-42", E_ACCESSDENIED}};
    for (const auto& c : failing) {
        sim::FailNext(c.member, 1, c.hr);
        EXPECT_EQ(_WinRTTileUpdater_InitWithSecondaryTile(updater_, L"doc.1", c.user), c.hr) << c.member;
    }
    EXPECT_EQ(_WinRTTileUpdater_Clear(updater_), S_OK);
    EXPECT_EQ(sim::TileUpdaterAt(0).clears, 1);
    sim::SetTileUpdaterAnswersEmpty(true);
    EXPECT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(updater_, L"Contoso.App", nullptr), E_INVALIDARG);
    EXPECT_FALSE(sim::TileUpdaterAt(0).alive);
    // Unbound, like a handle never bound: every export but a binding refuses it.
    EXPECT_EQ(_WinRTTileUpdater_Clear(updater_), E_INVALIDARG);
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuing(updater_, 1), E_INVALIDARG);
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, _WinRTTileSize_Large, 1), E_INVALIDARG);
    EXPECT_EQ(Send(kXml), E_INVALIDARG);
}

}  // namespace
