#pragma once

#include <QString>

// The checks of the customer's identification data.
namespace catalogue {

// An at sign with a non-empty local part before its first occurrence and a
// domain of at least 5 characters after it; the domain's first "." followed
// by at least two characters; both parts only ASCII letters, digits, "-",
// "." and "_".
bool IsValidEmail(const QString& Value);

// The CPF rule: exactly 11 digits, not one digit repeated, both check digits
// right.
bool IsValidCpf(const QString& cpf);

}  // namespace catalogue
