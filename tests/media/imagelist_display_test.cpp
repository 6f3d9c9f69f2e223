// Image lists and the display they are bound to: item access, initialising with the
// display, restoring lost surfaces and presenting frames.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "draw_support.h"
#include "media/Display.h"
#include "media/ImageList.h"

namespace kelvane {
namespace {

using test::DistinctPicture;

class FakePresenter : public IPresenter {
public:
    bool CanDraw() override { return usable; }
    void Present(const uint32_t* pixels, int width, int height) override {
        ++presented;
        firstPixel = pixels[0];
        EXPECT_EQ(width, 1024);
        EXPECT_EQ(height, 768);
    }
    bool usable = true;
    int presented = 0;
    uint32_t firstPixel = 0;
};

void AddPicture(TImageList& list, int32_t width, int32_t height, int32_t patternWidth) {
    TPictureCollectionItem& item = list.Add();
    item.Pic.Image = DistinctPicture(width, height);
    item.PatternWidth = patternWidth;
}

TEST(ImageList, IndexOutsideTheListIsAnError) {
    TImageList list;
    list.Add();
    list.Add();
    EXPECT_NO_THROW(list.Item(1));
    for (int32_t index : {-1, 2, 1000}) {
        try {
            list.Item(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "List index out of bounds (" + std::to_string(index) + ")");
        }
        const TImageList& constant = list;
        EXPECT_THROW(constant.Item(index), std::runtime_error);
    }
}

TEST(ImageList, AddedItemsHaveDefaultsAndNoPatterns) {
    FakePresenter presenter;
    TDisplay display(presenter, nullptr);
    TImageList list(&display);
    display.Initialize();
    TPictureCollectionItem& item = list.Add();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_FALSE(item.Initialized());
    EXPECT_TRUE(item.Transparent);
    EXPECT_EQ(item.PatternWidth, 0);
    EXPECT_EQ(item.TransparentColor, 0u);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(Display, InitialisesItsBoundLists) {
    FakePresenter presenter;
    TDisplay display(presenter, nullptr);
    TImageList ships(&display);
    TImageList other(&display);
    AddPicture(ships, 300, 100, 100);
    AddPicture(other, 10, 10, 0);
    EXPECT_FALSE(display.CanDraw());
    display.Initialize();
    EXPECT_TRUE(display.Initialized());
    EXPECT_TRUE(ships.Item(0).Initialized());
    EXPECT_EQ(ships.Item(0).PatternCount(), 3);
    EXPECT_TRUE(other.Item(0).Initialized());
    ships.FinalizeItems();
    EXPECT_FALSE(ships.Item(0).Initialized());
    ships.InitializeItems();
    EXPECT_TRUE(ships.Item(0).Initialized());
}

TEST(Display, AListGoneBeforeTheDisplayIsForgotten) {
    FakePresenter presenter;
    TDisplay display(presenter, nullptr);
    {
        TImageList temporary(&display);
        AddPicture(temporary, 9, 9, 0);
    }
    display.Initialize();  // would touch the destroyed list if it were still bound
    display.RestoreSurfaces();
    EXPECT_TRUE(display.Initialized());
}

TEST(Display, FlipPresentsOnlyWhenItCanDrawAndKeepsTheBackSurface) {
    FakePresenter presenter;
    TDisplay display(presenter, nullptr);
    display.Back().Fill(0x123456u);
    display.Flip();  // not initialised yet
    EXPECT_EQ(presenter.presented, 0);
    display.Initialize();
    display.Flip();
    display.Flip();
    EXPECT_EQ(presenter.presented, 2);
    EXPECT_EQ(presenter.firstPixel, 0x123456u);
    EXPECT_EQ(display.Back().Pixels()[0], 0x123456u);
    presenter.usable = false;
    display.Flip();
    EXPECT_EQ(presenter.presented, 2);
}

TEST(Display, LostSurfacesAreRestoredWhenTheyComeBack) {
    FakePresenter presenter;
    TDisplay display(presenter, nullptr);
    TImageList list(&display);
    AddPicture(list, 300, 100, 100);
    display.Initialize();
    display.Back().Fill(0x123456u);
    // Changed settings show only once the patterns are rebuilt.
    list.Item(0).PatternWidth = 150;
    EXPECT_EQ(list.Item(0).PatternCount(), 3);

    presenter.usable = false;
    EXPECT_FALSE(display.CanDraw());
    EXPECT_EQ(list.Item(0).PatternCount(), 3);
    presenter.usable = true;
    EXPECT_TRUE(display.CanDraw());
    EXPECT_EQ(list.Item(0).PatternCount(), 2);
    EXPECT_EQ(display.Back().Pixels()[0], 0u);  // what was drawn before the loss is gone

    // Once restored, the next check does not rebuild again.
    list.Item(0).PatternWidth = 100;
    EXPECT_TRUE(display.CanDraw());
    EXPECT_EQ(list.Item(0).PatternCount(), 2);
}

}  // namespace
}  // namespace kelvane
