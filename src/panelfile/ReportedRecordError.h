#pragma once
// A record that a hand-written reader refused with one of its own messages. The reader shows no
// message box itself: it throws this with the stream back at the record's "TPF0", and the loader
// shows the text in its message box and decides how to go on.

#include "streaming/Errors.h"

namespace trovelin {

class ReportedRecordError : public Exception {
    using Exception::Exception;
};

}  // namespace trovelin
