#include <gtest/gtest.h>

#include "settings/IniDocument.h"
#include "settings/SettingsError.h"

namespace {

using settings::ESettingsError;
using settings::TIniDocument;

TEST(IniDocumentTest, NamesIgnoreCaseAndValuesLoseSurroundingBlanks) {
  TIniDocument document = TIniDocument::FromText("[Form_W]\n  width =  42 \n");
  EXPECT_TRUE(document.SectionExists("FORM_W"));
  EXPECT_EQ(document.ReadString("form_w", "WIDTH"), "42");
  EXPECT_EQ(document.ReadInteger("FORM_W", "Width", 0), 42);
  EXPECT_EQ(document.ReadInteger("FORM_W", "Height", -7), -7);
  EXPECT_EQ(document.ReadInteger("NONE", "Width", 3), 3);
}

TEST(IniDocumentTest, WritingUpdatesInPlaceAndKeepsTheKeysSpelling) {
  TIniDocument document = TIniDocument::FromText("[S]\nwidth=1\n; note\nother=x\n\n[T]\n");
  document.WriteInteger("s", "WIDTH", 5);
  document.WriteString("S", "New", "v");
  document.WriteString("U", "k", "1");
  EXPECT_EQ(document.ToText(), "[S]\nwidth=5\n; note\nother=x\nNew=v\n\n[T]\n\n[U]\nk=1\n");
}

TEST(IniDocumentTest, KeepsWindowsLineBreaksAndDropsTheByteOrderMark) {
  TIniDocument document = TIniDocument::FromText("\xEF\xBB\xBF[S]\r\na=1\r\n");
  document.WriteInteger("S", "b", 2);
  EXPECT_EQ(document.ToText(), "[S]\r\na=1\r\nb=2\r\n");
}

TEST(IniDocumentTest, AcceptsUtf8TextAndRefusesBinary) {
  EXPECT_EQ(TIniDocument::FromText("[S]\nname=Pão de Ló\n").ReadString("S", "name"), "Pão de Ló");
  for (std::string bad : {std::string("a\0b", 3), std::string("\xc0\xaf"), std::string("\xed\xa0\x80"),
                          std::string("\xf4\x90\x80\x80"), std::string("\xe2\x82"), std::string("\x1b[0m")})
    EXPECT_THROW(TIniDocument::FromText(bad), ESettingsError) << bad;
}

}  // namespace
