// The parameter block of the HTML message box: what a caller can set beyond the platform box's owner,
// text, caption and style. Portable: window and module handles are opaque pointers here.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// A text given either as itself or as the number of a string resource (a number below 65536).
struct MessageBoxText {
  MessageBoxText() = default;
  MessageBoxText(std::u16string value) : text(std::move(value)) {}  // NOLINT: a text converts
  MessageBoxText(const char16_t* value) : text(value ? value : u"") {}  // NOLINT
  static MessageBoxText Resource(uint32_t id) {
    MessageBoxText t;
    t.resource = id;
    return t;
  }
  bool IsResource() const { return resource != 0; }

  std::u16string text;
  uint32_t resource = 0;
};

// A colour value standing for the system's button-face colour, resolved when the box paints.
constexpr uint32_t kButtonFaceColour = 0xFF00000F;

// How one area of the box is filled and separated.
struct MessageBoxAreaStyle {
  enum Separator : uint32_t { kNone = 0, kEtched = 1, kDark = 2, kLight = 3 };
  enum Align : uint32_t { kLeft = 0, kRight = 1, kCentre = 2 };

  uint32_t separator = kNone;    // along the top edge (the header: its bottom edge)
  uint32_t captionAlign = kLeft;
  MessageBoxText caption;        // written on the separator line
  int32_t fill = -1;             // a draw::FillKind; below 0 the plain button face
  uint32_t colour1 = kButtonFaceColour;
  uint32_t colour2 = kButtonFaceColour;
  uint32_t colour3 = kButtonFaceColour;

  bool HasFill() const { return fill >= 0; }
};

// Button number to caption, consulted first for every button text.
using MessageBoxCaptionTable = std::map<int, MessageBoxText>;

struct MessageBoxParams {
  void* owner = nullptr;          // none: the last active pop-up of the active window
  void* stringModule = nullptr;   // none: the program's own module
  void* iconModule = nullptr;
  std::u16string caption;         // empty: the owner's text, then "Error"
  std::u16string answerName;      // base of the "Do not show again" value name
  std::u16string company;         // first key level under "Software"; may be empty
  int32_t messageNumber = 0;
  uint32_t reportMessage = 0;     // sent to the owner by "Report"; 0: no Report button
  MessageBoxAreaStyle background;
  int32_t headerHeight = 0;       // 0: no header; else its least height
  MessageBoxText headerText;
  MessageBoxAreaStyle headerStyle;
  MessageBoxText messageText;
  uint32_t buttonAlign = MessageBoxAreaStyle::kCentre;
  uint32_t style = 0x30;
  MessageBoxAreaStyle buttonStyle;
  MessageBoxText detailsText;     // not empty: a "More >>" button opens it
  MessageBoxAreaStyle detailsStyle;
  int32_t timeout = 0;            // seconds; positive: the default button is pressed at the end
  int32_t disabledTime = 0;       // seconds; positive: the buttons stay disabled until the end
  bool countdownInCaption = false;
  int32_t helpContext = 0;
  uint32_t userIcon = 0;          // icon resource shown with icon kind 0x80
  MessageBoxText customButtons;   // up to four captions separated by line feeds
  std::u16string checkboxCaption; // replaces "Do not show again" as the last fallback
  const MessageBoxCaptionTable* captionTable = nullptr;
};
