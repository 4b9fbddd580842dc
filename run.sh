#!/usr/bin/env bash
echo "The program's window is not built yet; see README.md." >&2
exit 1
