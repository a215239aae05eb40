#pragma once

#include <QString>

struct Notice;

// A notice in the operator's words, in the session's language; empty for no notice. The
// console, the running-text list and the remote all say a refusal with these words.
QString noticeText(const Notice& notice);
