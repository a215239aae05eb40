#pragma once

class QApplication;
struct StartOptions;

// The program once Qt is up: the platform, the match and the settings, the windows in their
// order of creation, the match journal (an unfinished match is offered back), the remote
// control as `options` and the settings say, the message loop and the orderly end. main() runs it;
// so does the test that kills the program in the middle of a match.
int runProgram(QApplication& app, const StartOptions& options);
