#include <gtest/gtest.h>

#include "catalogue/ClientRules.h"

namespace {

struct Case {
  const char* text;
  bool valid;
};

class EmailRule : public testing::TestWithParam<Case> {};

TEST_P(EmailRule, AcceptsOnlyTheRuleShape) {
  EXPECT_EQ(catalogue::IsValidEmail(QString::fromUtf8(GetParam().text)), GetParam().valid)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, EmailRule,
    testing::Values(Case{"maria@exemplo.com", true},
                    Case{"a@ab.cd", true},              // 5-character domain, two after the "."
                    Case{"a@abcd", false},              // one-letter local part, 4-character domain
                    Case{"a@ab.cde", true},             // 6 characters, first "." the third
                    Case{"a@abcd.e", false},            // 6 characters, first "." the fifth
                    Case{"a@ab.c@de", false},           // a second at sign in the domain
                    Case{"@exemplo.com", false},        // empty local part
                    Case{"mariaexemplo.com", false},    // no at sign
                    Case{"maria@exemplocom", false},    // no "." in the domain
                    Case{"ma ria@exemplo.com", false},  // a blank
                    Case{"joão@exemplo.com", false},    // a letter outside ASCII
                    Case{"j.o-a_o@sub.exemplo.com.br", true}, Case{"", false}));

class CpfRule : public testing::TestWithParam<Case> {};

TEST_P(CpfRule, ChecksLengthDigitsAndBothCheckDigits) {
  EXPECT_EQ(catalogue::IsValidCpf(QString::fromUtf8(GetParam().text)), GetParam().valid)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, CpfRule,
                         testing::Values(Case{"52998224725", true}, Case{"11144477735", true},
                                         Case{"12345678909", true},
                                         Case{"52998224715", false},  // first check digit wrong
                                         Case{"52998224726", false},  // second check digit wrong
                                         Case{"11111111111", false},  // one repeated digit
                                         Case{"00000000000", false},
                                         Case{"5299822472", false},    // 10 characters
                                         Case{"529982247250", false},  // 12 characters
                                         Case{"5299822472a", false},   // a letter
                                         Case{"", false}));

}  // namespace
