// The tool-bar images and the program's icon as the window shows them.
#include "app_test_env.h"

#include "app/command_table.h"
#include "app/tool_bar_images.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include <cmath>

using namespace app_test;

namespace {

using ToolBarImagesTest = WindowTest;

// The mean of difference(x, y) over the pixels of image, weighted by their
// opacity.
template <class Difference>
double WeightedMean(const wxImage& image, Difference difference) {
    double sum = 0, weight = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const double alpha = image.HasAlpha() ? image.GetAlpha(x, y) / 255.0 : 1.0;
            sum += alpha * difference(x, y);
            weight += alpha;
        }
    }
    return sum / weight;
}

// How far the image's pixels differ from a background of the given
// luminance on average (0 to 255): how well it can be seen there.
double MeanContrast(const wxImage& image, double background) {
    return WeightedMean(image, [&](int x, int y) {
        return std::abs(0.299 * image.GetRed(x, y) + 0.587 * image.GetGreen(x, y) + 0.114 * image.GetBlue(x, y) -
                        background);
    });
}

// How far a disabled image's pixels differ from the enabled one's on
// average (0 to 255, by colour distance).
double MeanDifference(const wxImage& enabled, const wxImage& disabled) {
    return WeightedMean(enabled, [&](int x, int y) {
        const double dr = enabled.GetRed(x, y) - disabled.GetRed(x, y);
        const double dg = enabled.GetGreen(x, y) - disabled.GetGreen(x, y);
        const double db = enabled.GetBlue(x, y) - disabled.GetBlue(x, y);
        return std::sqrt((dr * dr + dg * dg + db * db) / 3);
    });
}

TEST_F(ToolBarImagesTest, EveryToolHasSharpImagesSeenOnLightAndDarkAndDisabledShowsIt) {
    for (const int id : ToolBarLayout()) {
        if (id == 0) continue;
        SCOPED_TRACE(id);
        const wxBitmapBundle bundle = ToolBarImage(id);
        for (const int size : {16, 32}) {
            const wxBitmap bitmap = bundle.GetBitmap(wxSize(size, size));
            ASSERT_TRUE(bitmap.IsOk());
            // Drawn at this size, not scaled from the other one.
            EXPECT_EQ(bitmap.GetSize(), wxSize(size, size));
            const wxImage image = bitmap.ConvertToImage();
            // (The theme's pale images of New and Copy had 32 and 40 on
            // light, and their disabled forms differed by 18 and 27.)
            EXPECT_GE(MeanContrast(image, 240), 60) << "on a light tool bar";
            EXPECT_GE(MeanContrast(image, 45), 45) << "on a dark tool bar";
            EXPECT_GE(MeanDifference(image, image.ConvertToDisabled()), 40) << "disabled as the toolkit greys it";
        }
    }
}

TEST_F(ToolBarImagesTest, ProgramIconIsDrawnAtEveryDesktopSize) {
    EXPECT_EQ(AppIconSizes(), (std::vector<int>{16, 24, 32, 48, 64, 128, 256}));
    const wxIconBundle icons = AppIcons();
    for (const int size : AppIconSizes()) {
        SCOPED_TRACE(size);
        const std::string png = AppIconPng(size);
        wxMemoryInputStream in(png.data(), png.size());
        const wxImage image(in, wxBITMAP_TYPE_PNG);
        ASSERT_TRUE(image.IsOk());
        EXPECT_EQ(image.GetSize(), wxSize(size, size));
        EXPECT_EQ(icons.GetIcon(wxSize(size, size), wxIconBundle::FALLBACK_NONE).GetSize(), wxSize(size, size));
    }
    EXPECT_EQ(AppIconPng(20), "");
}

}  // namespace
