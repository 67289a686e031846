#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "platform/Registry.h"

// The decisions of the program's self-update, apart from the screen and the
// service: how the answer is read, which offered file is installed, and what
// is requested and handed to the update installer.
namespace selfupdate {

// The four fields of one line of the answer: file name, version, save place,
// extraction folder. Fields are separated by ","; a field also ends at any
// character below code 32. Missing fields are empty.
QStringList AnswerFields(const QString& line);

// The text as a signed 32-bit decimal number; nullopt when it is not one.
std::optional<std::int32_t> WholeNumber(const QString& text);

// Whether the offered `version` of a file is to be installed, given the
// installed version kept in the registry (nullopt when there is no value):
// versions below `baseVersion` never are; with an installed version, a
// higher offer is; without one, only an offer above `baseVersion`. A version
// or installed value that is not a whole number means no update.
bool UpdateNeeded(const QString& version, std::int32_t baseVersion,
                  const std::optional<platform::RegistryValue>& installed);

// The registry value name of an offered file: its name without ".slvr".
QString VersionValueName(const QString& file);

// The URL requested for a queued one: blanks as "%20", "\" as "/", all in
// lower case.
QString RequestUrl(const QString& queuedUrl);

// The answer file's name: the program file's name without ".exe".
QString AnswerFileName(const QString& programFileName);

}  // namespace selfupdate
