#pragma once
// The two kinds of failure every front end has to present.

#include <stdexcept>
#include <string>

// An error whose text is meant for the user as it stands: the GUI shows it in
// an error box titled "Vehmira", the CLI prints it and exits non-zero.
class TVehmiraError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A fixed message of the program's own checks ("GXT-File Error!!!"): the GUI
// shows it in a plain box and then abandons the operation without a second box.
class TPlainMessageAbort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
