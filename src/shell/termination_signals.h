#pragma once

class QCoreApplication;

namespace mokuro {

// Ends the message loop on SIGTERM, SIGINT and SIGHUP, so that a session's end or a kill
// closes the window the normal way and the settings are saved.
void QuitOnTerminationSignals(QCoreApplication& app);

}  // namespace mokuro
