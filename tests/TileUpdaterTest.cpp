// The tile updater: binding, tile XML with tag and expiry, the notification queue.
#include "RuntimeFixture.h"
#include "tavlet.h"

namespace {

const wchar_t kXml[] = L"<tile><visual><binding template=\"TileMedium\"><text>3 new</text></binding></visual></tile>";

// Bound to the application's own main tile: updater record 0.
class TileUpdaterTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        ASSERT_EQ(_WinRTTileUpdater_Alloc(&updater_), S_OK);
        ASSERT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(updater_, nullptr, nullptr), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTTileUpdater_Dealloc(updater_), S_OK);
        ApartmentTest::TearDown();
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
    EXPECT_TRUE(Sent().empty());
}

// Seconds since 1970 become 100-ns ticks since 1601; all bits set is no expiry.
TEST_F(TileUpdaterTest, ExpiryAndTagReachTheNotification) {
    const struct {
        uint64_t seconds;
        const wchar_t* tag;
        int64_t ticks;  // 0: no expiry
    } cases[] = {
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

TEST_F(TileUpdaterTest, QueueSwitchesFollowEnableAndSize) {
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuing(updater_, 2), S_OK);  // any non-zero is on
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, _WinRTTileSize_Wide, 1), S_OK);
    for (uint32_t size : {0u, 2u, 6u})
        EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(updater_, size, 1), E_INVALIDARG) << size;
    EXPECT_EQ(_WinRTTileUpdater_EnableNotificationQueuingForTileSize(nullptr, 6, 1), E_INVALIDARG);
    auto record = sim::TileUpdaterAt(0);
    EXPECT_EQ(record.queue, 1);
    EXPECT_EQ(record.queueWide310x150, 1);
    EXPECT_EQ(record.queueSquare150x150, -1);  // never switched
}

// Null ids bind the application's own main tile; a user id alone, its tile for that user.
TEST_F(TileUpdaterTest, BindingChoosesTheApplicationsTileForTheUser) {
    EXPECT_EQ(sim::Calls("ITileUpdateManagerStatics.CreateTileUpdaterForApplication"), 1);
    EXPECT_FALSE(sim::TileUpdaterAt(0).forUser);
    ASSERT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(updater_, nullptr, L"user-42"), S_OK);
    EXPECT_EQ(sim::Calls("ITileUpdateManagerForUser.CreateTileUpdaterForApplicationForUser"), 1);
    auto record = sim::TileUpdaterAt(1);
    EXPECT_EQ(record.userId, L"user-42");
    EXPECT_EQ(record.applicationId, L"");
    EXPECT_FALSE(sim::TileUpdaterAt(0).alive);
}

}  // namespace
