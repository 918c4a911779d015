# The steps of scripts/reproduce.sh that tests/support/test_reproduce_steps.py also runs on crafted
# input: sourced by both.

# copy_sources FROM TO: the files a git work tree at FROM names, tracked or new but not ignored, as
# they are on disk (one deleted there is left out); an archive's copy, or a tree inside another
# repository, is taken whole but for build/. Dated now (tar -m), as a clone made today is: no output
# may take a file's date.
copy_sources() {
  local from=$1 to=$2
  if command -v git >/dev/null 2>&1 \
     && [ "$(git -C "$from" rev-parse --show-toplevel 2>/dev/null)" = "$(cd "$from" && pwd -P)" ]; then
    echo "(the files git names in $from)"
    (
      cd "$from"
      git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' file; do
        if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
      done | tar --null --no-recursion -T - -cf -
    ) | tar -xmf - -C "$to"
  else
    echo "(all of $from but build/)"
    (cd "$from" && tar --anchored --exclude=./build -cf - .) | tar -xmf - -C "$to"
  fi
}

# sums_lines_right SUMS: prints the lines of a SHA256SUMS that are not as sha256sum writes them for a
# folder (the sum, two blanks, a name inside the folder) and fails if there is one. sha256sum -c
# also takes one blank between sum and name, and absolute names, which would check the builder's own
# files rather than those beside the list.
sums_lines_right() {
  ! grep -vE '^[0-9a-f]{64}  [^ /*][^\\]*$' "$1" && ! grep -E '^.{66}(.*/)?\.\.(/|$)' "$1"
}
