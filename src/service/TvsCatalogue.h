#pragma once

#include <QString>

class Tdm;

// The TV part of the catalogue (rows above id 999) replaced by the models the
// update service lists: records ended by "#", fields separated by "$".
namespace service {

// The service's answer when it could not be asked.
inline constexpr const char* kTvsUnavailable = "0";

struct TvsReplaceResult {
  // The TV rows were replaced. False: the answer was not usable (the service
  // failed, or no record is ended by "#") or the catalogue refused the change,
  // and the TV rows are as they were.
  bool replaced = false;
  int written = 0;  // models whose two inserts were issued
  int skipped = 0;  // records cut short, or not released outside homologation
};

// In one transaction: deletes every row above 999 of `devices` and
// `mastermodel`, then writes each record of `answer` that is released ("P"
// in field 6) or, in homologation mode, any record. The text after the last
// "#" is not a record; a record with fewer than 14 fields is skipped. An
// insert the catalogue refuses is skipped and the others stay.
TvsReplaceResult ReplaceTvRows(Tdm& dm, const QString& answer, bool homologacao);

}  // namespace service
