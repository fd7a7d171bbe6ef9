# Fetching Debian source packages with apt-get and a private sources list,
# leaving the machine's own apt configuration untouched. Sourced by
# scripts/web.sh and scripts/windows.sh (GLU's tessellator, libmd's SHA-2),
# scripts/windows-deps.sh (the Windows build's libraries) and
# scripts/fuzz-decoders.sh (the decoders the picture fuzzer sees into);
# apt-get checks each file it fetches against the archive's signed index.

# The first Debian archive the machine's own apt configuration names.
debian_archive() {
  {
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '/^URIs:/ { print $2 }'
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk '/^deb / { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; break } }'
  } | grep -m 1 -E '/debian/?$' || true
}

# debian_source_index WORK SUITE...: a private apt state in WORK whose
# sources list names the source packages of each SUITE (the machine's own
# release when none is given), read from the archive. Sets the array
# `debian_apt` to the apt-get options that use it. Returns non-zero, having
# said why on standard error, when it cannot.
debian_source_index() {
  local work=$1 archive suite
  shift
  local suites=("$@")
  archive=$(debian_archive)
  [ ${#suites[@]} -gt 0 ] || suites=("$(. /etc/os-release && echo "${VERSION_CODENAME:-}")")
  if [ -z "$archive" ] || [ -z "${suites[0]}" ]; then
    echo "${0##*/}: no Debian archive in the apt configuration to fetch sources from" >&2
    return 1
  fi
  mkdir -p "$work/lists/partial" "$work/parts" "$work/cache/archives/partial"
  : >"$work/sources.list"
  for suite in "${suites[@]}"; do
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $archive $suite main" \
      >>"$work/sources.list"
  done
  debian_apt=(-o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=$work/parts"
    -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o "APT::Sandbox::User=root")
  if ! apt-get "${debian_apt[@]}" -qq update >"$work/apt.log" 2>&1; then
    echo "${0##*/}: cannot read the archive's source index ($(tail -n 1 "$work/apt.log"))" >&2
    return 1
  fi
}

# Fetches the upstream source of a Debian package of this release and
# unpacks it into DEST. Returns non-zero, having said why, when it cannot.
# (Called in a condition, where errexit does not apply, so every step is
# checked here.)
#   fetch_source PACKAGE DEST WHAT
fetch_source() {
  local package=$1 dest=$2 what=$3 work me=${0##*/}
  work=$(mktemp -d)
  mkdir -p "$work/src"
  echo "$me: fetching $package's source for $what" >&2
  if ! debian_source_index "$work"; then
    rm -rf "$work"
    return 1
  fi
  # The upstream tarball holds the code; Debian's own patches only package
  # it, so a mirror that lacks the patch file does no harm.
  (cd "$work/src" && apt-get "${debian_apt[@]}" -qq source --download-only "$package" >>"$work/apt.log" 2>&1) || true
  local tarball
  tarball=$(ls "$work"/src/"$package"_*.orig.tar.* 2>/dev/null | head -n 1 || true)
  if [ -z "$tarball" ]; then
    echo "$me: cannot fetch $package's source ($(tail -n 1 "$work/apt.log"))" >&2
    rm -rf "$work"
    return 1
  fi
  mkdir -p "$work/unpacked" "$(dirname "$dest")"
  rm -rf "$dest"
  if ! tar -xf "$tarball" -C "$work/unpacked" || ! mv "$work"/unpacked/* "$dest"; then
    echo "$me: cannot unpack $(basename "$tarball")" >&2
    rm -rf "$work" "$dest"
    return 1
  fi
  rm -rf "$work"
}

# build_from_source NAME FUNCTION: runs FUNCTION WORK/NAME, one library's
# build, and says how long it took; on failure shows the end of its log
# (WORK/NAME.log) and exits. The caller sets `work` and defines `say`.
build_from_source() {
  local started=$SECONDS
  if ! "$2" "$work/$1"; then
    say "building $1 failed; the end of its log:"
    tail -n 30 "$work/$1.log" >&2
    exit 1
  fi
  say "$1 built in $((SECONDS - started)) s"
}
