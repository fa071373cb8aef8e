#pragma once

// What only Windows has, checked against the real Windows calls (under wine
// on Linux): a profile replaced while another handle reads it, the read-only
// attribute, wide-character paths and paths longer than MAX_PATH.
void windowsCases();
