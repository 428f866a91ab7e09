#pragma once
// The user's locale for the file list: its short date and long time formats, both ways, and its
// thousands separator.

#include "browse/DateTimeText.h"

namespace trovelin {

DateTimeText localeDateTimeText();
char localeThousandsSeparator();

}  // namespace trovelin
