#include "ui/msgbox/message_protocol.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace msgbox {
namespace {

TEST(MessageProtocol, StylesOfEachKind) {
  EXPECT_EQ(ProtocolStyle(kInformation, false), 0x40u);
  EXPECT_EQ(ProtocolStyle(kError, false), 0x10u);
  EXPECT_EQ(ProtocolStyle(kQuestion, false), 0x20u);
  EXPECT_EQ(ProtocolStyle(kInformation, true), 0x44u);
  EXPECT_EQ(ProtocolStyle(kError, true), 0x14u);
  EXPECT_EQ(ProtocolStyle(kQuestion, true), 0x24u);
  EXPECT_EQ(ProtocolStyle(7, false), 0u);
}

TEST(MessageProtocol, ParametersFillTheWholeBoxWithACreamBump) {
  const MessageBoxParams params = ProtocolParams();
  EXPECT_EQ(params.background.fill, 12);
  EXPECT_EQ(params.background.separator, 0u);
  EXPECT_EQ(params.background.captionAlign, 2u);
  EXPECT_EQ(params.background.colour1, 0xC5EDFAu);
  EXPECT_EQ(params.background.colour2, 0xFFFFFFu);
  EXPECT_EQ(params.background.colour3, 0xC5EDFAu);
  EXPECT_EQ(params.headerStyle.fill, -1);
  EXPECT_EQ(params.buttonAlign, 2u);
  EXPECT_EQ(ConfirmResult(6), 1);
  EXPECT_EQ(ConfirmResult(7), 2);
  EXPECT_EQ(ConfirmResult(2), 2);
  EXPECT_EQ(std::u16string(ProductTitle), u"Dorvane");
}

TEST(MessageProtocol, TheSecondMessageReplacesTheFirst) {
  MessageText = u"first";
  MessageKind = 2;
  MessageText = std::u16string(u"second");
  MessageSnapshot taken = TakeMessage();
  EXPECT_EQ(taken.text, u"second");
  EXPECT_EQ(taken.kind, 2u);
  EXPECT_EQ(static_cast<uint32_t>(MessageKind), 2u);
  MessageText = static_cast<const char16_t*>(nullptr);
  EXPECT_EQ(MessageText.Get(), u"");
}

// Writers on several threads never tear a value: every copy read is one of the texts written whole.
TEST(MessageProtocol, ValuesWrittenFromThreadsAreReadWhole) {
  const std::u16string texts[] = {std::u16string(500, u'a'), std::u16string(700, u'b')};
  std::vector<std::thread> writers;
  for (int t = 0; t < 2; ++t) {
    writers.emplace_back([&texts, t] {
      for (int i = 0; i < 2000; ++i) {
        MessageText = texts[t];
        MessageKind = static_cast<uint32_t>(t + 1);
      }
    });
  }
  for (int i = 0; i < 2000; ++i) {
    const MessageSnapshot taken = TakeMessage();
    EXPECT_TRUE(taken.text.empty() || taken.text == texts[0] || taken.text == texts[1] || taken.text == u"second");
  }
  for (std::thread& writer : writers) writer.join();
}

}  // namespace
}  // namespace msgbox
