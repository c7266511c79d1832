// The partition search: lists the partitions already known in the source tree and, when the table is
// empty or the user asks for it, walks the disk cylinder by cylinder looking for boot sectors: at each
// cylinder's head 1 (else head 0) and at every 1 MiB boundary (2,048 sectors), in sector order.
#pragma once

// Runs on the search worker. Reports through host::Current(): firstDisplay (status and progress),
// sourceTree (one "Partition %d" node per entry under "Virtual Hard Disk "), partitionChoice (the
// "Please Select" question when partitions are known already) and diskTable (the geometry). The walk covers
// the geometry's cylinders and, past them, the rest of the disk image's sectors. Tests the stop flag of
// ScanThreadControl once per cylinder.
void SearchPartitions();

// The body of the search worker: SearchPartitions, then running flag 0 and stop flag 1. The page that
// starts the worker has written stop 0 and running 1.
void PartitionSearchThread();
