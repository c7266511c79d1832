// Mnemonics over menu texts: the "&" letter, the first letter where allowed, ambiguity and the walk's
// start after the selection.
#include "toolkit/commandbars/bars/tkp_mnemonic_search.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Item {
  const TCHAR* caption;
  bool visible = true;
};

// The walk over a menu's items, every item allowed its first letter when bFirstLetter.
int Find(const std::vector<Item>& items, int start, TCHAR ch, bool firstLetter, bool* ambiguous) {
  return TKPFindAccel(static_cast<int>(items.size()), start, ch,
                      [&](int i) {
                        TKPAccelCandidate c;
                        c.strCaption = items[static_cast<size_t>(i)].caption;
                        c.bTakesPart = items[static_cast<size_t>(i)].visible && !c.strCaption.IsEmpty();
                        c.bFirstLetter = firstLetter;
                        return c;
                      },
                      ambiguous);
}

TEST(MnemonicSearch, TheAmpersandMarksTheLetterAndDoubledOnesAreText) {
  EXPECT_EQ(TKPMnemonicOf(_T("&Recovery")), _T('R'));
  EXPECT_EQ(TKPMnemonicOf(_T("Save &All")), _T('A'));
  EXPECT_EQ(TKPMnemonicOf(_T("Copy && &Paste")), _T('P'));
  EXPECT_EQ(TKPMnemonicOf(_T("Tools && Options")), 0);
  EXPECT_EQ(TKPMnemonicOf(_T("Trailing&")), 0);
  EXPECT_EQ(TKPMatchMnemonic(_T("&View"), _T('v'), false), tkpMatchAmpersand);
  // A caption with a mark answers only by it, not by its first letter.
  EXPECT_EQ(TKPMatchMnemonic(_T("Save &All"), _T('s'), true), tkpMatchNone);
  EXPECT_EQ(TKPMatchMnemonic(_T("Help"), _T('h'), true), tkpMatchFirstLetter);
  EXPECT_EQ(TKPMatchMnemonic(_T("Help"), _T('h'), false), tkpMatchNone);
  EXPECT_EQ(TKPMatchMnemonic(_T(""), _T('h'), true), tkpMatchNone);
}

TEST(MnemonicSearch, OneMatchIsFoundWithoutAmbiguity) {
  const std::vector<Item> menu = {{_T("&Recovery")}, {_T("&View")}, {_T("&Tools")}, {_T("&Help")}};
  bool ambiguous = true;
  EXPECT_EQ(Find(menu, -1, _T('t'), true, &ambiguous), 2);
  EXPECT_FALSE(ambiguous);
  EXPECT_EQ(Find(menu, 2, _T('T'), true, &ambiguous), 2);  // from itself, once around
  EXPECT_FALSE(ambiguous);
  EXPECT_EQ(Find(menu, -1, _T('x'), true, &ambiguous), -1);
}

TEST(MnemonicSearch, TwoAmpersandMatchesStopAtTheFirstAfterTheSelection) {
  const std::vector<Item> menu = {{_T("&Save")}, {_T("&Settings")}, {_T("&Open")}, {_T("S&can")}};
  bool ambiguous = false;
  EXPECT_EQ(Find(menu, -1, _T('s'), true, &ambiguous), 0);
  EXPECT_TRUE(ambiguous);
  // Pressing the letter again from the found one moves on to the next.
  EXPECT_EQ(Find(menu, 0, _T('s'), true, &ambiguous), 1);
  EXPECT_TRUE(ambiguous);
  EXPECT_EQ(Find(menu, 1, _T('s'), true, &ambiguous), 0);  // wraps
  EXPECT_EQ(Find(menu, -1, _T('c'), true, &ambiguous), 3);
  EXPECT_FALSE(ambiguous);
}

TEST(MnemonicSearch, AnAmpersandMatchWinsOverFirstLetters) {
  const std::vector<Item> menu = {{_T("Find")}, {_T("Re&fresh")}, {_T("Filters")}};
  bool ambiguous = false;
  // Two first-letter matches make the result ambiguous, but the marked letter is the one chosen.
  EXPECT_EQ(Find(menu, -1, _T('f'), true, &ambiguous), 1);
  EXPECT_TRUE(ambiguous);
  // Without first letters only the marked item answers.
  EXPECT_EQ(Find(menu, -1, _T('f'), false, &ambiguous), 1);
  EXPECT_FALSE(ambiguous);
}

TEST(MnemonicSearch, HiddenAndEmptyItemsTakeNoPart) {
  const std::vector<Item> menu = {{_T("&Print"), false}, {_T("")}, {_T("&Properties")}, {_T("Paste")}};
  bool ambiguous = true;
  EXPECT_EQ(Find(menu, -1, _T('p'), true, &ambiguous), 2);
  EXPECT_FALSE(ambiguous);
  EXPECT_EQ(Find(menu, -1, _T('p'), false, &ambiguous), 2);
  EXPECT_EQ(Find({}, -1, _T('p'), true, &ambiguous), -1);
  // A start outside the list walks from the first item.
  EXPECT_EQ(Find(menu, 9, _T('p'), false, &ambiguous), 2);
}

}  // namespace
