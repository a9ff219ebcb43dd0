// The add-on's menu: the file Korvanta.cuix with the menu group "KORVANTA" and its toolbar.
#pragma once

// Copies the installed menu file into the user's roaming support folder, queues AutoCAD's
// CUILOAD for the copy (or says why it cannot, when that folder is not known) and records the
// toolbar state in both language builds' profiles.
// Reports nothing to the caller; the load happens when AutoCAD runs the queued expression.
void CUIARXMYCUILOAD();

// The command init_kvs: loads the menu unless its group is loaded already.
void init_kvs();
