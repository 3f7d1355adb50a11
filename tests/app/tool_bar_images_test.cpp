// The tool-bar images and the program's icon as the window shows them.
#include "app_test_env.h"

#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/tool_bar_images.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "support/gui_env.h"

#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/stc/stc.h>

#include <cmath>
#include <string>

using namespace app_test;

namespace {

class ToolBarImagesTest : public WindowTest {};

double Luminance(unsigned char red, unsigned char green, unsigned char blue) {
    return 0.299 * red + 0.587 * green + 0.114 * blue;
}

// How far the image's pixels differ from a background of the given
// luminance on average, weighted by their opacity (0 to 255): how well it
// can be seen there.
double MeanContrast(const wxImage& image, double background) {
    double sum = 0, weight = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const double alpha = image.HasAlpha() ? image.GetAlpha(x, y) / 255.0 : 1.0;
            const double lum = Luminance(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
            sum += alpha * std::abs(lum - background);
            weight += alpha;
        }
    }
    return sum / weight;
}

// How far a disabled image's pixels differ from the enabled one's on
// average, weighted by their opacity (0 to 255, by colour distance).
double MeanDifference(const wxImage& enabled, const wxImage& disabled) {
    double sum = 0, weight = 0;
    for (int y = 0; y < enabled.GetHeight(); ++y) {
        for (int x = 0; x < enabled.GetWidth(); ++x) {
            const double alpha = enabled.HasAlpha() ? enabled.GetAlpha(x, y) / 255.0 : 1.0;
            const double dr = enabled.GetRed(x, y) - disabled.GetRed(x, y);
            const double dg = enabled.GetGreen(x, y) - disabled.GetGreen(x, y);
            const double db = enabled.GetBlue(x, y) - disabled.GetBlue(x, y);
            sum += alpha * std::sqrt((dr * dr + dg * dg + db * db) / 3);
            weight += alpha;
        }
    }
    return sum / weight;
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
