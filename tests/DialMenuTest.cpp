// The radial controller's menu: ids, built-in-icon items, icon items loaded one
// after another on commit, Invoked callbacks and their suppression window.
#include "DialTestSupport.h"

namespace {

using namespace dialtest;
using DialMenuTest = DialTest;

// Ids are process-wide from 1, taken at the call. Queued icons load on a commit
// one at a time in queue order, also inline; a failed load ends the chain and
// the rest wait for the next commit. A built-in-icon item (InkColor) lands at once.
TEST_F(DialMenuTest, IconItems_ReachTheMenuInQueueOrderThroughOneCommit_AFailedLoadLeavesTheRestQueued) {
    _WinRTDial* dial = Create();
    host::TempFile first(L"-first.png"), third(L"-third.png");
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(Icon(dial, first.path), 1u);
    Icon(dial, first.path + L".missing");
    Icon(dial, third.path);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::FileLoadsStarted(), 1);
    EXPECT_EQ(sim::CompleteFileLoads(), 2);
    EXPECT_EQ(sim::MenuItemCount(), 1);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(Known(dial, nullptr, reinterpret_cast<const void*>(~uintptr_t(0))), 4u);  // reserved: never read
    EXPECT_EQ(sim::MenuItemCount(), 2);
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::FileLoadsStarted(), 3);
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Inline);
    Icon(dial, first.path);
    Icon(dial, third.path);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    const std::pair<std::wstring, long> items[] = {{first.path, 1}, {L"", 4}, {third.path, 3}, {first.path, 5},
                                                   {third.path, 6}};
    ASSERT_EQ(sim::MenuItemCount(), 5);
    for (long i = 0; i < 5; ++i)
        EXPECT_EQ(std::pair(sim::MenuItemIconPath(0, i), sim::MenuItemTag(0, i)), items[i]) << i;
    EXPECT_EQ(sim::MenuItemKnownIcon(0, 1), 6);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
}

// The first Invoked within four seconds of an addition is swallowed, whichever
// item raises it: with echoes, that is the selection's own echo.
TEST_F(DialMenuTest, Invoked_FirstWithinFourSecondsOfAnAdditionIsSwallowed_TheNextDelivered) {
    for (bool echoes : {true, false}) {
        SCOPED_TRACE(echoes);
        sim::SetMenuSelectionEchoes(echoes);
        _WinRTDial* dial = Create();
        Hits::Reset();
        for (auto callback : {NotifyA, NotifyB}) {
            Known(dial, callback);
            if (!echoes) { EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK); }
            EXPECT_EQ(Hits::a + Hits::b, callback == NotifyB ? 1 : 0);
            EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
            EXPECT_EQ(Hits::a, callback == NotifyB ? 2 : 1);
            EXPECT_TRUE(Hits::onRuntimeThread);
        }
        EXPECT_EQ(sim::InvokeMenuItem(0, 1), S_OK);
        EXPECT_EQ(Hits::b, 1);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    }
    Known(Create(), NotifyB);  // the window lasts four seconds
    Sleep(4100);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(Hits::b, 2);
}

// A clear while an icon load completes or an Invoked is on its way, wherever
// that is held: once both are done, an item is in the menu only if invoking
// it reaches its callback, and an Invoked that the clear overtook calls nothing.
TEST_F(DialMenuTest, ClearWhileAnIconLoadCompletesOrAnInvokedRuns_ItemsLeftReachTheirCallbacks) {
    host::TempFile icon(L"-racing.png");
    // `left`: 1 where the hold comes before the item reaches the menu, so the completion adds it after the clear.
    const std::pair<const char*, long> points[] = {
        {"IRadialControllerMenuItemStatics.CreateFromIcon", 1}, {"IVector<RadialControllerMenuItem>.Append", 1},
        {"IRadialControllerMenu.SelectMenuItem", 0}, {"IPropertyValueStatics.CreateUInt32", 0},
        {"RadialControllerMenuItem.Invoked", 0}};
    for (const auto& [point, left] : points) {
        SCOPED_TRACE(point);
        _WinRTDial* dial = Create();
        Icon(dial, icon.path, NotifyA);
        ASSERT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
        const bool invoking = std::string(point) == "RadialControllerMenuItem.Invoked";
        if (invoking) { EXPECT_EQ(sim::CompleteFileLoads(), 1); }  // its echo swallowed
        Hits::Reset();
        host::WhileHeld(
            point, [invoking] { invoking ? sim::InvokeMenuItem(0, 0) : sim::CompleteFileLoads(1); },
            [dial] { EXPECT_EQ(WinRTDialClearMenu(dial), S_OK); });
        ASSERT_TRUE(sim::WaitForRuntimeIdle());
        if (!invoking) Hits::Reset();  // the selection's echo, if the item got that far, was swallowed
        ASSERT_EQ(sim::MenuItemCount(), left);
        for (long i = 0; i < left; ++i) EXPECT_EQ(sim::InvokeMenuItem(0, i), S_OK);
        EXPECT_EQ(Hits::a, left);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    }
}

}  // namespace
