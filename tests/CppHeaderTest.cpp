// The C++ header as a host uses it: owners end each handle exactly once, and
// failures become tavlet::error carrying the export's HRESULT.
#include "Host.h"
#include "tavlet.hpp"

#include <string>

namespace {

class CppHeaderTest : public PackagedTest {
protected:
    host::Window window_;
};

TEST_F(CppHeaderTest, OwnersEndTheirResourceOnceAndCheckThrowsFailuresWithTheirCode) {
    auto updater = tavlet::make<tavlet::tile_updater>();
    tavlet::check(_WinRTTileUpdater_InitWithPrimaryTile(updater.get(), nullptr, nullptr));
    const long bound = sim::LiveObjects();
    ASSERT_GT(bound, 0);
    tavlet::tile_updater moved = std::move(updater);
    EXPECT_FALSE(updater);
    EXPECT_EQ(sim::LiveObjects(), bound);
    ASSERT_EQ(tavlet::alloc(moved), S_OK);  // put() ends the bound updater first
    EXPECT_EQ(sim::LiveObjects(), 0);
    {
        auto tile = tavlet::make<tavlet::secondary_tile>();
        tavlet::check(host::InitOwnedTile(tile.get(), L"doc.1", window_));
        tavlet::secondary_tile_visual_elements elements, kept;
        tavlet::check(_WinRTSecondaryTile_GetVisualElements(tile.get(), elements.put()));
        tavlet::async_operation pin;
        tavlet::check(_WinRTSecondaryTile_RequestCreateAsync(tile.get(), pin.put()));
        kept = std::move(elements);
        EXPECT_TRUE(kept && !elements);
        EXPECT_GT(sim::LiveObjects(), 0);
    }  // the fixture checks that nothing is left alive
    // A BSTR keeps its recorded length; a null one is empty.
    tavlet::bstr embedded(SysAllocStringLen(L"a\0b", 3)), text;
    text = std::move(embedded);
    EXPECT_EQ(text.view().size(), 3u);
    EXPECT_STREQ(embedded.c_str(), L"");
    EXPECT_TRUE(embedded.empty());
    for (HRESULT hr : {S_OK, S_FALSE}) EXPECT_EQ(tavlet::check(hr), hr);
    const std::pair<HRESULT, const char*> failures[] = {{E_INVALIDARG, "0x80070057"}, {E_PENDING, "0x8000000A"}};
    for (const auto& [hr, hex] : failures) {
        try {
            tavlet::check(hr);
            ADD_FAILURE() << hex << " passed";
        } catch (const tavlet::error& e) {
            EXPECT_EQ(e.code(), hr);
            EXPECT_NE(std::string(e.what()).find(hex), std::string::npos) << e.what();
        }
    }
}

}  // namespace
