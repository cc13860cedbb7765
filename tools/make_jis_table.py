#!/usr/bin/env python3
"""Write src/text/JisX0208Table.cpp: the characters of JIS X 0208 as ISO-2022-JP answers give them.

Each of the 94 rows is one line of 94 cells in row order; a cell the set leaves empty is U+FFFD, and
a row the set leaves empty is an empty line. The cells are those that Windows gives for the same
characters (code page 932, whose rows 13 and 89 to 92 add NEC's and IBM's characters), so an
answer reads as it would in other Windows programs. Standard library only:
    python3 tools/make_jis_table.py > src/text/JisX0208Table.cpp
"""

ROWS = 94
CELLS = 94


def shift_jis(row, cell):
    """The Shift_JIS bytes of the JIS X 0208 cell (row and cell from 1 to 94)."""
    first = (row + 1) // 2 + (0x80 if row <= 62 else 0xC0)
    if row % 2:
        second = cell + 0x3F + (1 if cell >= 64 else 0)
    else:
        second = cell + 0x9E
    return bytes([first, second])


def character(row, cell):
    try:
        text = shift_jis(row, cell).decode("cp932")
    except UnicodeDecodeError:
        return "\ufffd"
    # Every cell is one character of the Basic Multilingual Plane, beyond ASCII.
    assert len(text) == 1 and 0x80 <= ord(text) <= 0xFFFF, (row, cell, text)
    return text


def main():
    print("// The characters of JIS X 0208, row by row, for ISO-2022-JP answers. Made by tools/make_jis_table.py;")
    print("// do not edit.")
    print('#include "text/Iso2022Jp.h"')
    print()
    print("const char16_t kJisX0208[kJisRows][kJisCells + 1] = {")
    for row in range(1, ROWS + 1):
        cells = "".join(character(row, cell) for cell in range(1, CELLS + 1))
        if cells == "\ufffd" * CELLS:
            cells = ""
        print(f'    u"{cells}",')
    print("};")


if __name__ == "__main__":
    main()
