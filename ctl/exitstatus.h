#pragma once

// What matrixctl tells its caller, for scripts to act on.
enum ExitStatus {
    ExitDone = 0,
    // The serial port or the TCP connection could not be opened.
    ExitLinkFailed = 1,
    // The command line asks for nothing this program does; nothing was sent.
    ExitUsage = 2,
    // "net get" got no answer, or one that is not the network card's.
    ExitNoAnswer = 3,
    // The link failed or dropped before every command had gone out whole.
    ExitNotSent = 4
};
