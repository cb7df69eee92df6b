// Resource ids of the button tests' pictures.
#pragma once

#define IDI_TEST_IN 300     // 32 x 32, solid red
#define IDI_TEST_OUT 301    // 32 x 32, solid blue
#define IDI_TEST_SMALL 302  // 16 x 16, solid green

#define IDB_TEST_IMAGE 310       // 16 x 16: black 8 x 8 square on 0xC0C0C0
#define IDB_TEST_PATTERN 311     // 8 x 8 checker, magenta and green
#define IDB_TEST_BACKGROUND 312  // 96 x 96, pixel (x, y) = RGB(2x, 2y, 128)
