#include "platform/Wql.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

class Scanner {
 public:
  explicit Scanner(const std::string& text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      ++pos_;
    }
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ >= text_.size();
  }
  bool Accept(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  std::string Identifier() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
      ++pos_;
    }
    if (start == pos_) {
      Fail("a name was expected");
    }
    return text_.substr(start, pos_ - start);
  }
  void Keyword(const char* word) {
    if (!EqualsIgnoreCase(Identifier(), word)) {
      Fail(std::string("\"") + word + "\" was expected");
    }
  }
  // A quoted text ('...' or "...", a backslash escapes the next character) or
  // a bare word running to the next blank.
  std::string Value() {
    SkipBlanks();
    if (pos_ >= text_.size()) {
      Fail("a value was expected");
    }
    const char quote = text_[pos_];
    std::string value;
    if (quote == '\'' || quote == '"') {
      ++pos_;
      while (pos_ < text_.size() && text_[pos_] != quote) {
        if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) {
          ++pos_;
        }
        value += text_[pos_++];
      }
      if (pos_ >= text_.size()) {
        Fail("the quoted value is not closed");
      }
      ++pos_;
      return value;
    }
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      value += text_[pos_++];
    }
    return value;
  }
  [[noreturn]] void Fail(const std::string& why) const {
    throw WmiError("WQL: " + why + " at position " + std::to_string(pos_) + " of \"" + text_ +
                   "\"");
  }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return std::ranges::lexicographical_compare(a, b,
                                              [](char x, char y) { return Lower(x) < Lower(y); });
}

const std::string& WmiRow::operator[](const std::string& name) const {
  static const std::string kEmpty;
  const auto it = values_.find(name);
  return it == values_.end() ? kEmpty : it->second;
}

WqlQuery ParseWql(const std::string& text) {
  Scanner in(text);
  WqlQuery query;
  in.Keyword("SELECT");
  if (!in.Accept('*')) {
    do {
      query.properties.push_back(in.Identifier());
    } while (in.Accept(','));
  }
  in.Keyword("FROM");
  query.className = in.Identifier();
  if (!in.AtEnd()) {
    in.Keyword("WHERE");
    WqlQuery::Condition condition;
    condition.property = in.Identifier();
    if (!in.Accept('=')) {
      in.Fail("\"=\" was expected");
    }
    condition.value = in.Value();
    query.where = std::move(condition);
    if (!in.AtEnd()) {
      in.Fail("unexpected text after the condition");
    }
  }
  return query;
}

std::vector<WmiRow> ApplyWql(const WqlQuery& query, const std::vector<WmiRow>& rows) {
  std::vector<WmiRow> result;
  for (const WmiRow& row : rows) {
    if (query.where && !EqualsIgnoreCase(row[query.where->property], query.where->value)) {
      continue;
    }
    if (query.properties.empty()) {
      result.push_back(row);
      continue;
    }
    WmiRow selected;
    for (const std::string& property : query.properties) {
      if (row.Has(property)) {
        selected.Set(property, row[property]);
      }
    }
    result.push_back(std::move(selected));
  }
  return result;
}

}  // namespace platform
