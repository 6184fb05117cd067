#include "window/command_box_keys.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(FoldKeyCode, TakesTheLowByteAndFoldsTheKeypad) {
  struct Case {
    uint32_t wParam;
    int keyCode;
  };
  // clang-format off
  const Case cases[] = {
      {65, 65},     {67, 67},     {13, 13},     {0, 0},
      {48, 48},     {57, 57},     {95, 95},     // VK_SLEEP, just below the keypad
      {96, 48},     {97, 49},     {100, 52},    {105, 57},
      {106, 106},   {107, 107},   {108, 108},   // multiply, add, separator stay
      {109, 189},   {110, 190},   {111, 191},   {112, 112},  // F1 stays
      {189, 189},   {190, 190},   {191, 191},   {255, 255},
      {0x0141, 65},  // only the low byte counts
      {0xFFFFFF43, 67},
      {0x0160, 48},  // folded after the low byte is taken
      {0x016F, 191},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(FoldKeyCode(c.wParam), c.keyCode) << "wParam " << c.wParam;
  }
}

// Rows: the eight combinations of Ctrl, Shift and Alt held down. Columns: the
// state for a letter key, and for each generic modifier key pressed itself.
struct ModifierRow {
  bool ctrl;
  bool shift;
  bool alt;
  int letter;
  int shiftKey;
  int ctrlKey;
  int altKey;
};

// clang-format off
const ModifierRow kModifierRows[] = {
    // ctrl   shift  alt    letter 16 17 18
    {false, false, false, 0, 0, 0, 0},
    {true, false, false, 1, 1, 0, 1},
    {false, true, false, 2, 0, 2, 2},
    {true, true, false, 3, 1, 2, 3},
    {false, false, true, 4, 4, 4, 0},
    {true, false, true, 5, 5, 4, 1},
    {false, true, true, 6, 4, 6, 2},
    {true, true, true, 7, 5, 6, 3},
};
// clang-format on

TEST(ModifierState, AModifierKeyDoesNotCountItself) {
  for (const ModifierRow& row : kModifierRows) {
    const auto state = [&](int keyCode) {
      return ModifierState(keyCode, row.ctrl, row.shift, row.alt);
    };
    SCOPED_TRACE(testing::Message()
                 << "ctrl " << row.ctrl << " shift " << row.shift << " alt " << row.alt);
    EXPECT_EQ(state(65), row.letter);
    EXPECT_EQ(state(67), row.letter);
    EXPECT_EQ(state(48), row.letter);
    EXPECT_EQ(state(16), row.shiftKey);
    EXPECT_EQ(state(17), row.ctrlKey);
    EXPECT_EQ(state(18), row.altKey);
  }
}

TEST(ModifierState, TheLeftAndRightCodesAreTheSameKeys) {
  for (const ModifierRow& row : kModifierRows) {
    const auto state = [&](int keyCode) {
      return ModifierState(keyCode, row.ctrl, row.shift, row.alt);
    };
    SCOPED_TRACE(testing::Message()
                 << "ctrl " << row.ctrl << " shift " << row.shift << " alt " << row.alt);
    EXPECT_EQ(state(160), row.shiftKey);
    EXPECT_EQ(state(161), row.shiftKey);
    EXPECT_EQ(state(162), row.ctrlKey);
    EXPECT_EQ(state(163), row.ctrlKey);
    EXPECT_EQ(state(164), row.altKey);
    EXPECT_EQ(state(165), row.altKey);
    // Neighbours of those codes are ordinary keys.
    EXPECT_EQ(state(159), row.letter);
    EXPECT_EQ(state(166), row.letter);
    EXPECT_EQ(state(15), row.letter);
    EXPECT_EQ(state(19), row.letter);
  }
}

TEST(CommandBoxShortcutFor, OnlyCtrlAloneWithAOrCMakesAShortcut) {
  for (int state = 0; state <= 7; ++state) {
    SCOPED_TRACE(testing::Message() << "state " << state);
    const CommandBoxShortcut a = CommandBoxShortcutFor(65, state);
    const CommandBoxShortcut c = CommandBoxShortcutFor(67, state);
    EXPECT_EQ(a.selectAll, state == 1);
    EXPECT_FALSE(a.copy);
    EXPECT_EQ(c.copy, state == 1);
    EXPECT_FALSE(c.selectAll);
  }
}

TEST(CommandBoxShortcutFor, OtherKeysMakeNoShortcut) {
  // B, the lower-case letters' character codes, Ctrl itself, and the folded
  // keypad 1 (a raw 97 is VK_NUMPAD1, not "a").
  const int keys[] = {0, 64, 66, 68, 97, 99, 17, 49, 65 + 256};
  for (int key : keys) {
    for (int state = 0; state <= 7; ++state) {
      const CommandBoxShortcut shortcut = CommandBoxShortcutFor(key, state);
      EXPECT_FALSE(shortcut.selectAll) << "key " << key << " state " << state;
      EXPECT_FALSE(shortcut.copy) << "key " << key << " state " << state;
    }
  }
}

TEST(CommandBoxShortcutFor, StatesOutsideTheSumsMakeNoShortcut) {
  for (int state : {-1, 8, 9, 0x101}) {
    EXPECT_FALSE(CommandBoxShortcutFor(65, state).selectAll) << state;
    EXPECT_FALSE(CommandBoxShortcutFor(67, state).copy) << state;
  }
}

// From the key message to the shortcut, as the handler sees it.
CommandBoxShortcut ShortcutForKeyDown(uint32_t wParam, bool ctrl, bool shift, bool alt) {
  const int keyCode = FoldKeyCode(wParam);
  return CommandBoxShortcutFor(keyCode, ModifierState(keyCode, ctrl, shift, alt));
}

TEST(CommandBoxKeys, KeyMessagesToShortcuts) {
  EXPECT_TRUE(ShortcutForKeyDown('A', true, false, false).selectAll);
  EXPECT_TRUE(ShortcutForKeyDown('C', true, false, false).copy);
  EXPECT_FALSE(ShortcutForKeyDown('A', true, true, false).selectAll);   // Ctrl+Shift+A
  EXPECT_FALSE(ShortcutForKeyDown('C', true, false, true).copy);        // Ctrl+Alt+C
  EXPECT_FALSE(ShortcutForKeyDown('A', false, false, true).selectAll);  // Alt+A
  EXPECT_FALSE(ShortcutForKeyDown('A', false, false, false).selectAll);
  // Ctrl pressed alone reads as key 17 with state 0: nothing.
  const CommandBoxShortcut ctrlAlone = ShortcutForKeyDown(17, true, false, false);
  EXPECT_FALSE(ctrlAlone.selectAll || ctrlAlone.copy);
}

}  // namespace
