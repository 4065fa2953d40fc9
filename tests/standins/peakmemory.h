#pragma once

// This process's resident memory in KiB, from /proc/self/status: the peak so far
// (VmHWM) and the current figure (VmRSS). -1 when the kernel does not say.
long peakResidentKiB();
long residentKiB();
