// The PLC database swap: ACADE works with the add-on's database while the plug-in is loaded.
#pragma once

// At start-up, once the release is known: moves the user's database aside as
// ace_plc_old.mdb and copies the add-on's in its place, unless a backup already exists or
// the add-on's database is missing.
void initPCL();

// At unload: starts the restore program, which puts the backup back after its wait.
void deinitPCL();
