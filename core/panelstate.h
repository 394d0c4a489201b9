#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/slotgrid.h"
#include "core/sortedlist.h"

namespace orvane {

// Outer window bounds (frame, title bar and menu bar included), in physical
// pixels of the screen coordinate system.
struct Bounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// 0xRRGGBB.
using Colour = std::uint32_t;
inline constexpr Colour kLampBlack = 0x000000;
inline constexpr Colour kLampLime = 0x00FF00;

inline constexpr char16_t kDesignedCaption[] = u"Orvane";

// What a window showing the panel state is told. Each call comes after the
// value changed; read the new value from the PanelState. Defaults do nothing.
class PanelObserver {
public:
    virtual ~PanelObserver() = default;
    virtual void captionChanged() {}
    // Apply the new bounds to the window.
    virtual void boundsChanged() {}
    // ComboBox1's entries changed (the selection may have moved with them).
    virtual void chooserEntriesChanged() {}
    // ComboBox1's selection was set by program: show it, run no handler.
    virtual void chooserSelectionChanged() {}
    virtual void checkBoxChanged() {}
    virtual void lampChanged() {}
    // Caption or visibility of the slot with this number changed.
    virtual void slotChanged(int /*number*/) {}
};

// The panel's values that the main window shows. The windows never hold
// these values themselves: user changes come back through the setters
// (bounds when the user moves or resizes the window, the check box when it is
// clicked, the chooser's selection when the user picks an entry).
// Setters notify only when the value actually changes.
class PanelState {
public:
    PanelState();
    PanelState(const PanelState&) = delete;
    PanelState& operator=(const PanelState&) = delete;

    // Observers are not owned and must outlive the state or be removed first.
    void addObserver(PanelObserver* observer);
    void removeObserver(PanelObserver* observer);

    // The window caption: "Orvane" until the first recomposition.
    const std::u16string& caption() const noexcept { return caption_; }
    void setCaption(std::u16string caption);

    // The window's normal (not minimised) bounds. The window reports moves
    // and resizes here so that shutdown stores the bounds it shows.
    const Bounds& bounds() const noexcept { return bounds_; }
    void setBounds(const Bounds& bounds);

    // ComboBox1, the menu list chooser.
    const SortedList& comboBox1() const noexcept { return comboBox1_; }
    // The entries become names, sorted as adding them would sort them; the
    // entry whose text equals keep without regard to letter case is
    // selected, added first when names lack it; an empty keep selects none.
    // Notifies only when entries or selection change.
    void replaceChooserEntries(std::vector<std::u16string> names, std::u16string_view keep);
    // Selection by program; out of range throws listIndexError.
    void selectChooserEntry(std::optional<std::size_t> index);
    // The selected entry's text, or empty text when none is selected.
    std::u16string chooserSelectedText() const;

    // CheckBox1, IMEOFF: ticked at creation.
    bool checkBox1() const noexcept { return checkBox1_; }
    void setCheckBox1(bool checked);

    // Shape1's fill, the status lamp.
    Colour shape1Fill() const noexcept { return shape1Fill_; }
    void setShape1Fill(Colour fill);

    // The menu slots; their changes are passed on as slotChanged.
    SlotGrid& slots() noexcept { return slots_; }
    const SlotGrid& slots() const noexcept { return slots_; }

private:
    template <typename Notify>
    void notify(Notify notifyOne);

    std::vector<PanelObserver*> observers_;
    std::u16string caption_ = kDesignedCaption;
    Bounds bounds_;
    SortedList comboBox1_;
    bool checkBox1_ = true;
    Colour shape1Fill_ = kLampBlack;
    SlotGrid slots_;
};

}  // namespace orvane
