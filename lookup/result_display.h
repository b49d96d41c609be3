// The lookup run: what Enter in the main window does. Captures the error
// field's text as the MainKey, interprets it, fetches the message text from
// the system's or Wininet.dll's message table, and fills the result fields.
#pragma once

void RunLookup();
