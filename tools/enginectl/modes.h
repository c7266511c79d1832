// The modes of the headless engine driver: one file each, dispatched by main.cpp on the first argument.
// Each gets the arguments after the mode name and returns the exit status.
#pragma once

// enginectl read IMAGE FIRST_SECTOR COUNT: the sectors' bytes on standard output.
int RunRead(int argc, char** argv);

// enginectl partitions [--search] IMAGE: the partition table (or what the partition search finds), one
// line per entry: first sector, sector count, file-system code.
int RunPartitions(int argc, char** argv);

// enginectl save IMAGE (--partition N | --range CODE START COUNT [--choose K] | --snapshot FILE) --out DIR
// [--deleted ...] [--duplicates ...] [--filter PATTERN]... [--file-size MB]: a Quick Scan (an Extensive Scan and
// the file system K it found; a snapshot loaded), the whole results tree ticked and saved into DIR; the
// numbers of files saved, not read whole and not written.
int RunSave(int argc, char** argv);

// enginectl snapshot-load FILE [--image IMAGE] [--list PATH]: loads a recovery snapshot (the image opened
// first as its source) and prints its results tree, or its File Trace hits; with --list the results list's
// rows of one folder.
int RunSnapshotLoad(int argc, char** argv);

// enginectl quick IMAGE --partition N | --range CODE START COUNT [--list PATH] [--snapshot-save FILE]: a
// Quick Scan and the results tree it built, one line per folder and file; with --list the results list's
// rows of one folder; with --snapshot-save the results saved as a snapshot afterwards.
int RunQuick(int argc, char** argv);

// enginectl extensive IMAGE --range CODE START COUNT [--sectors-per-read N] [--choose K [--list PATH]
// [--snapshot-save FILE]]: an Extensive Scan and the file systems it found, one line each: number, code,
// label, first sector, last sector; with --choose, file system K read and its results tree (as quick).
int RunExtensive(int argc, char** argv);

// enginectl trace IMAGE --range CODE START COUNT --types EXT[,EXT...] [--file-size MB] [--raw-dat PATH]
// [--snapshot-save FILE]: a File Trace for the given types and its hits, one line each: start sector, name,
// group; the snapshot keeps the size saved for each hit.
int RunTrace(int argc, char** argv);
