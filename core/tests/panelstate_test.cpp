#include "core/panelstate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

class Recorder : public PanelObserver {
public:
    std::vector<std::string> events;
    void captionChanged() override { events.push_back("caption"); }
    void boundsChanged() override { events.push_back("bounds"); }
    void chooserEntriesChanged() override { events.push_back("entries"); }
    void chooserSelectionChanged() override { events.push_back("selection"); }
    void checkBoxChanged() override { events.push_back("check"); }
    void lampChanged() override { events.push_back("lamp"); }
    void slotChanged(int number) override { events.push_back("slot " + std::to_string(number)); }
};

TEST(PanelStateTest, StartsWithTheDesignedValues) {
    const PanelState state;
    EXPECT_EQ(state.caption(), u"Orvane");
    EXPECT_TRUE(state.checkBox1());
    EXPECT_EQ(state.shape1Fill(), kLampBlack);
    EXPECT_TRUE(state.comboBox1().empty());
    EXPECT_EQ(state.chooserSelectedText(), u"");
}

TEST(PanelStateTest, ObserversHearEachRealChangeOnce) {
    PanelState state;
    Recorder recorder;
    state.addObserver(&recorder);
    state.addObserver(&recorder);
    state.setCaption(u"T [  ]");
    state.setCaption(u"T [  ]");
    state.setBounds({1, 2, 3, 4});
    state.setBounds({1, 2, 3, 4});
    state.replaceChooserEntries({u"AList.txt"}, {});
    state.selectChooserEntry(0);
    state.selectChooserEntry(0);
    state.setCheckBox1(false);
    state.setShape1Fill(kLampLime);
    state.slots().setVisible(1530, false);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"caption", "bounds", "entries", "selection",
                                                         "check", "lamp", "slot 1530"}));
    EXPECT_EQ(state.chooserSelectedText(), u"AList.txt");

    state.removeObserver(&recorder);
    state.setCaption(u"other");
    EXPECT_EQ(recorder.events.size(), 7u);
}

}  // namespace
}  // namespace orvane
