// The journal's file on Windows: written by the Windows build (see journalfile_unix.cpp for the
// behaviour it must match).
