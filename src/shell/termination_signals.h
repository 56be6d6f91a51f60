#pragma once

class QCoreApplication;

namespace mokuro {

// On SIGTERM, SIGINT and SIGHUP every message loop ends, a message box's or dialog's too,
// and boxes that open after it close at once; so a session's end or a kill ends the
// program the normal way and the settings are saved.
void QuitOnTerminationSignals(QCoreApplication& app);

// A termination signal has come: the program is to end without entering its loop.
bool TerminationRequested();

}  // namespace mokuro
