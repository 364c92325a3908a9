// The private window-message protocol spoken with Veltrano main windows, and how each request is sent.
#pragma once

#include <windows.h>

// Class of the Veltrano main window; matched byte for byte, so case and length count.
#define VELTRANO_MAIN_CLASS "TVELT_MAIN"

// The message of all three requests.
const UINT WM_INSTANCE_CONTROL = WM_USER + 0x201;
// The wParam of all three requests.
const WPARAM CONTROL_SIGNATURE = 0x74598235;
// lParam of the liveness check; only whether the send succeeds counts.
const LPARAM REQUEST_PING = 0;
// lParam asking the window to prove it is a Veltrano main window.
const LPARAM REQUEST_IDENTIFY = 0x63215781;
// The only reply to REQUEST_IDENTIFY that confirms a Veltrano main window.
const DWORD IDENTITY_REPLY = 0x23452741;
// lParam of the last-resort request to a window that stayed open; its reply is ignored.
const LPARAM REQUEST_FINAL = 0x63215782;

// Flags of the ping: the closer's own thread blocks, and a hung window fails at once.
const UINT PING_SEND_FLAGS = SMTO_BLOCK | SMTO_ABORTIFHUNG;
// A window that has not answered the ping by then counts as held.
const UINT PING_TIMEOUT_MS = 500;
// Flags of REQUEST_IDENTIFY and REQUEST_FINAL: without SMTO_ABORTIFHUNG, because a genuine main
// window that has been busy for a while (saving a large file) counts as hung and would fail at
// once, so it would never be confirmed and closed while it keeps files open on the drive.
const UINT REQUEST_SEND_FLAGS = SMTO_BLOCK;
// Bound on REQUEST_IDENTIFY and REQUEST_FINAL: a window that takes them and never answers
// must not keep the closer, and with it the drive, for good. Five seconds is the time after
// which the platform itself treats a thread that reads no messages as hung.
const UINT REQUEST_REPLY_TIMEOUT_MS = 5000;
