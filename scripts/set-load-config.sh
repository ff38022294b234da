#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Points a linked Windows executable's load-configuration directory at its table _load_config_used, as newer
# linkers do themselves (Debian 12's binutils 2.40 does not): Windows reads the dependent-load flags from there.
# Usage: set-load-config.sh EXECUTABLE NM OBJDUMP
set -euo pipefail
executable=$1
nm=$2
objdump=$3

fail() {
    echo "set-load-config: $executable $1" >&2
    exit 1
}
read_number() { od -An -t"u$2" -j"$1" -N"$2" "$executable" | tr -d ' '; }

address=$("$nm" "$executable" | sed -n 's/^\([0-9a-fA-F]*\) [RrDd] _load_config_used$/\1/p')
[ -n "$address" ] || fail "has no _load_config_used"
header=$(read_number 60 4) # e_lfanew: where the PE header starts
optional=$((header + 24))
[ "$(read_number "$optional" 2)" = 523 ] || fail "is not a 64-bit image" # PE32+
image_base=$(read_number $((optional + 24)) 8)
rva=$((16#$address))
((rva < image_base)) || rva=$((rva - image_base))

# The table's first field is its size; find it in the file through the section that holds the table.
offset=
while read -r _ _ size vma _ file_offset _; do
    start=$((16#$vma - image_base))
    if ((rva >= start && rva < start + 16#$size)); then
        offset=$((16#$file_offset + rva - start))
    fi
done < <("$objdump" -h "$executable" | grep -E '^ *[0-9]+ ')
[ -n "$offset" ] || fail "has _load_config_used outside its sections"
table_size=$(read_number "$offset" 4)

# Data directory 10, the load configuration, after the 112 bytes of PE32+ fields before the directories.
little_endian() { printf '%b' "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
{ little_endian "$rva"; little_endian "$table_size"; } |
    dd of="$executable" bs=1 seek=$((optional + 112 + 8 * 10)) conv=notrunc status=none
