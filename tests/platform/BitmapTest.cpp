#include "platform/Bitmap.h"
#include "platform/FontSubstitution.h"
#include "platform/SystemColors.h"

#include <QFontDatabase>
#include <QImage>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Bitmap, SavedBmpLoadsBackWithTheSamePixels) {
    TBitmap B(7, 5);
    B.Canvas().Brush().SetColor(clRed);
    B.Canvas().FillRect({1, 1, 4, 3});
    B.Canvas().SetPixel(6, 4, clBlue);
    QTemporaryDir Dir;
    const std::string Name = Dir.filePath("picture.bmp").toStdString();
    B.SaveToFile(Name);
    TBitmap Loaded;
    Loaded.LoadFromFile(Name);
    EXPECT_TRUE(Loaded.Image() == B.Image());
    EXPECT_EQ(QImage(QString::fromStdString(Name)).format() != QImage::Format_Invalid, true);
    EXPECT_THROW(B.SaveToFile(Dir.filePath("no/such/dir.bmp").toStdString()), Exception);
    EXPECT_THROW(Loaded.LoadFromFile(Dir.filePath("absent.bmp").toStdString()), Exception);
}

TEST(Bitmap, ResizingKeepsThePixelsThatStillFit) {
    TBitmap B(4, 4);
    B.Canvas().SetPixel(1, 1, clRed);
    B.Canvas().SetPixel(3, 3, clRed);
    B.SetSize(2, 6);
    EXPECT_EQ(B.Width(), 2);
    EXPECT_EQ(B.Height(), 6);
    EXPECT_EQ(B.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(B.Canvas().Pixel(1, 5), clWhite);
    EXPECT_TRUE(TBitmap().Empty());
}

TEST(Bitmap, GlyphsLoadFromTheProgramsResources) {
    TBitmap B;
    B.LoadFromResourceName("TESTGLYPH");
    EXPECT_EQ(B.Width(), 4);
    EXPECT_EQ(B.Height(), 3);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(B.Canvas().Pixel(3, 2), clBlue);
    try {
        B.LoadFromResourceName("NOGLYPH");
        FAIL() << "no exception";
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), "Resource NOGLYPH not found");
    }
    EXPECT_EQ(B.Width(), 4); // the picture is kept
}

TEST(SystemColors, ResolveToTheClassicScheme) {
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(128, 128, 128));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
    EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack); // no such index
    EXPECT_EQ(ColorToRGB(0x02123456), 0x123456u);        // palette-relative
    EXPECT_EQ(ColorToRGB(clRed), clRed);
}

TEST(FontSubstitution, ClassicNamesMapToInstalledFonts) {
    EXPECT_EQ(SubstitutedFontFamily("微软雅黑"), "WenQuanYi Micro Hei");
    EXPECT_EQ(SubstitutedFontFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(SubstitutedFontFamily("arial"), "Liberation Sans");
    for (const char* Name : {"MS Sans Serif", "No Such Font At All", ""}) {
        const std::string Family = SubstitutedFontFamily(Name);
        EXPECT_TRUE(QFontDatabase::hasFamily(QString::fromStdString(Family))) << Name;
        EXPECT_NE(Family, "MS Sans Serif");
    }
}

TEST(FontSubstitution, FontIsAGadgetWithItsPublishedFields) {
    TFont F;
    const QMetaObject& Meta = TFont::staticMetaObject;
    Meta.property(Meta.indexOfProperty("Name")).writeOnGadget(&F, QString("Arial"));
    Meta.property(Meta.indexOfProperty("Style"))
        .writeOnGadget(&F, QVariant::fromValue(TFontStyleFlags::fromInt(1 << fsItalic)));
    Meta.property(Meta.indexOfProperty("Height")).writeOnGadget(&F, -20);
    EXPECT_EQ(F.Name(), "Arial");
    EXPECT_EQ(F.Style(), TFontStyles{fsItalic});
    EXPECT_EQ(Meta.property(Meta.indexOfProperty("Size")).readOnGadget(&F).toInt(), 15);
    // Styles and pen styles are known by name.
    const QMetaProperty Style = Meta.property(Meta.indexOfProperty("Style"));
    EXPECT_TRUE(Style.isFlagType());
    EXPECT_STREQ(Style.enumerator().name(), "TFontStyleFlags");
    const QMetaEnum PenStyle = QMetaEnum::fromType<TPenStyle>();
    EXPECT_STREQ(PenStyle.valueToKey(psDashDot), "psDashDot");
    static_assert(sizeof(TPenStyle) == 1 && sizeof(TBrushStyle) == 1 && sizeof(TPenMode) == 1);
}

} // namespace
