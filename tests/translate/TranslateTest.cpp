// Translate: the current dictionary first, then the other enabled ones in registry order.
#include <gtest/gtest.h>

#include <string>

#include "DictionaryFixture.h"

namespace {
class TranslateTest : public DictionaryFixture {};

TEST_F(TranslateTest, WithoutDictionaryTextComesBackUnchanged) {
  ASSERT_NE(QuenDictionaries(), nullptr);
  EXPECT_EQ(QuenDictionaries()->Count(), 0);
  EXPECT_EQ(CurrentDictionary(), nullptr);
  for (const char* text : {"", "Aplicar", "Deseja sair sem gravar?\r\nAs alterações perdem-se."})
    EXPECT_EQ(Translate(text), text);
}

TEST_F(TranslateTest, CurrentDictionaryAnswers) {
  SetCurrentDictionary(Register({{"Aplicar", "", "Apply"}}));
  EXPECT_EQ(Translate("Aplicar"), "Apply");
  EXPECT_EQ(Translate("Sair"), "Sair");
  EXPECT_EQ(Translate(""), "");
}

TEST_F(TranslateTest, SecondEnabledDictionaryAnswersWhatCurrentDoesNotKnow) {
  SetCurrentDictionary(Register({{"Aplicar", "", "Apply"}}));
  Register({{"Sair", "", "Exit"}});
  EXPECT_EQ(Translate("Sair"), "Exit");
  EXPECT_EQ(Translate("Aplicar"), "Apply");
}

TEST_F(TranslateTest, DisabledSecondDictionaryIsSkipped) {
  SetCurrentDictionary(Register({{"Aplicar", "", "Apply"}}));
  Register({{"Sair", "", "Exit"}}, false);
  EXPECT_EQ(Translate("Sair"), "Sair");
}

TEST_F(TranslateTest, EmptyTranslationInCurrentFallsToTheNext) {
  SetCurrentDictionary(Register({{"Sair", "", ""}}));
  Register({{"Sair", "", "Exit"}});
  EXPECT_EQ(Translate("Sair"), "Exit");
}

TEST_F(TranslateTest, OthersAreTriedInRegistryOrderSkippingTheCurrent) {
  Register({{"Sair", "", "Leave"}}, false);
  TQuenDictionary* current = Register({{"Aplicar", "", "Apply"}});
  Register({{"Sair", "", "Exit"}});
  Register({{"Sair", "", "Quit"}});
  SetCurrentDictionary(current);
  EXPECT_EQ(Translate("Sair"), "Exit");
}

TEST_F(TranslateTest, DisabledCurrentDictionaryTranslatesNothing) {
  TQuenDictionary* current = Register({{"Sair", "", "Exit"}}, false);
  Register({{"Sair", "", "Quit"}});
  SetCurrentDictionary(current);
  EXPECT_EQ(Translate("Sair"), "Sair");
  current->SetEnabled(true);
  EXPECT_EQ(Translate("Sair"), "Exit");
}

TEST_F(TranslateTest, UnsetCurrentDictionaryTranslatesNothing) {
  Register({{"Sair", "", "Exit"}});
  Register({{"Sair", "", "Quit"}});
  EXPECT_EQ(Translate("Sair"), "Sair");
}

// Other dictionaries are consulted only when at least two are registered.
TEST_F(TranslateTest, OthersNeedTwoRegisteredDictionaries) {
  TQuenDictionary unregistered;
  unregistered.SetEntries({{"Aplicar", "", "Apply"}});
  SetCurrentDictionary(&unregistered);
  Register({{"Sair", "", "Exit"}});
  EXPECT_EQ(Translate("Aplicar"), "Apply");
  EXPECT_EQ(Translate("Sair"), "Sair");
}

TEST_F(TranslateTest, CaseDifferenceIsNotTranslated) {
  SetCurrentDictionary(Register({{"Sair", "", "Exit"}}));
  Register({{"sair", "", ""}});
  EXPECT_EQ(Translate("SAIR"), "SAIR");
  EXPECT_EQ(Translate("sair"), "sair");
}

TEST(DictionariesTest, RegistryKeepsOrderAndDoesNotOwn) {
  TQuenDictionaries registry;
  TQuenDictionary a, b, c;
  registry.Add(&a);
  registry.Add(&b);
  registry.Add(&c);
  registry.Add(&a);
  ASSERT_EQ(registry.Count(), 3);
  EXPECT_EQ(registry.Items(0), &a);
  EXPECT_EQ(registry.Items(2), &c);
  registry.Remove(&b);
  registry.Remove(&b);
  ASSERT_EQ(registry.Count(), 2);
  EXPECT_EQ(registry.Items(1), &c);
  EXPECT_EQ(registry.IndexOf(&b), -1);
  EXPECT_THROW(registry.Items(2), std::out_of_range);
}
}  // namespace
