#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "workflow/KeyLayout.h"
#include "workflow/WindowModel.h"

namespace kv::workflow {
namespace {

PictureRef Face(const char* name) {
    return PictureRef::Design(name);
}

TEST(ImageButtonFaces, FalseThenTrueGivesBackTheFaceShownBefore) {
    IBtn button("b", {}, nullptr);
    button.SetPicture(Face("face"));
    button.SetDisablePic(Face("disabled"));
    button.SetIsEnable(false);
    EXPECT_EQ(button.Picture(), Face("disabled"));
    EXPECT_FALSE(button.IsEnable());
    button.SetIsEnable(true);
    EXPECT_EQ(button.Picture(), Face("face"));
    EXPECT_TRUE(button.IsEnable());
}

TEST(ImageButtonFaces, FalseTwiceThenTrueGivesBackTheDisabledFace) {
    IBtn button("b", {}, nullptr);
    button.SetPicture(Face("face"));
    button.SetDisablePic(Face("disabled"));
    button.SetIsEnable(false);
    button.SetIsEnable(false);
    button.SetIsEnable(true);
    EXPECT_EQ(button.Picture(), Face("disabled"));
}

TEST(ImageButtonFaces, TrueWithNothingSavedEmptiesThePicture) {
    IBtn button("b", {}, nullptr);
    button.SetPicture(Face("face"));
    button.SetIsEnable(true);
    EXPECT_TRUE(button.Picture().IsEmpty());
}

TEST(ImageButtonFaces, PressMovesByTheOffsetsAndReleaseMovesBack) {
    IBtn button("b", {10, 20, 5, 5}, nullptr);
    button.Press();
    EXPECT_EQ(button.GetGeometry(), (Geometry{11, 21, 5, 5}));
    button.Release();
    EXPECT_EQ(button.GetGeometry(), (Geometry{10, 20, 5, 5}));
    button.MoveDown = 0;
    button.MoveRight = 0;
    button.Press();
    EXPECT_EQ(button.GetGeometry(), (Geometry{10, 20, 5, 5}));
}

TEST(KeyLayoutTable, CodesRunFrom00To28OnceEachAndFourKeysTakeClicks) {
    std::set<std::string> codes;
    std::vector<std::string> enabled;
    for (const KeyDefinition& key : kKeyLayout) {
        codes.emplace(key.code);
        if (key.enabled) {
            enabled.emplace_back(key.code);
        }
    }
    EXPECT_EQ(codes.size(), 41u);
    EXPECT_EQ(*codes.begin(), "00");
    EXPECT_EQ(*codes.rbegin(), "28");
    EXPECT_EQ(enabled, (std::vector<std::string>{"00", "02", "04", "07"}));
}

TEST(KeyLayoutTable, KeepsInnerSpacesOfTheDisplayNames) {
    WindowModel model;
    EXPECT_EQ(model.KeyByCode("02")->Path, "TV/ AV/TV");
    EXPECT_EQ(model.KeyByCode("04")->Path, "TV/ VOL+");
    EXPECT_EQ(model.KeyByCode("07")->Path, "TV/  VOL-");
    EXPECT_EQ(model.KeyByCode("07")->Name(), "IBtn9");
    EXPECT_EQ(model.KeyByCode("27")->Path, "IPTV/O");
    EXPECT_EQ(model.KeyByCode("1C")->GetGeometry(), (Geometry{135, 425, 46, 40}));
    EXPECT_EQ(model.KeyByCode("3F"), nullptr);
}

TEST(WindowModelControls, StartWithTheDesignedLook) {
    WindowModel model;
    EXPECT_FALSE(model.donghuaflash2.Visible());
    EXPECT_FALSE(model.Memo1.Visible());
    EXPECT_EQ(model.KeyButtons().size(), 41u);
    EXPECT_EQ(model.ImageButtons().size(), 46u);
    EXPECT_EQ(model.KeyByCode("00")->Picture(), Face("IBtn1"));
    EXPECT_TRUE(model.KeyByCode("00")->Enabled());
    EXPECT_FALSE(model.KeyByCode("01")->Enabled());
    EXPECT_EQ(model.IBtn79.Hint, "关闭软件");
    EXPECT_EQ(model.beginstudyibtn.DisablePic(), Face("beginstudyibtn.stop"));
    EXPECT_EQ(model.Find("lab_usbstate"), &model.lab_usbstate);
    EXPECT_EQ(model.FindButton("IBtn44"), model.KeyByCode("1C"));
}

TEST(WindowModelControls, ListenersHearEveryChangeUntilRemoved) {
    WindowModel model;
    std::vector<std::string> heard;
    const auto id = model.AddListener([&heard](const Control& control, ControlChange change) {
        heard.push_back(control.Name() + ":" + std::to_string(static_cast<int>(change)));
    });
    model.runstate_lab.SetText("x");
    model.KeyByCode("04")->SetIsEnable(false);
    model.RemoveListener(id);
    model.Image4.Hide();
    EXPECT_EQ(heard, (std::vector<std::string>{"runstate_lab:3", "IBtn5:2"}));
}

}  // namespace
}  // namespace kv::workflow
