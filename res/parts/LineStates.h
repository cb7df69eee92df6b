// Resource ids of the monitor page's line-state images.
#pragma once

#define IDB_LINESTATES 150  // six 16 x 15 images on magenta: unused, off, on, sending, receiving, error
