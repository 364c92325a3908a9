# Shared by scripts/test and scripts/demo: packages, builds, and a throwaway Wine session.
# Sourced, not run. Expects ROOT to be the repository's top directory.

WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver64

# fonts-wine: Wine's own Tahoma and Marlett, without which dialogs use a fallback font and the
# caption buttons draw as letters. binutils: the assembler and linker of the 32-bit probe.
# locales: the ja_JP.UTF-8 and de_DE.UTF-8 locales of the code page 932 and 1252 tests.
PACKAGES=(cmake make binutils g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
          googletest wine wine64 fonts-wine xvfb xauth x11-utils imagemagick python3 locales)

say() { printf '%s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Installs the Debian packages that are missing; silent when everything is there.
ensure_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -eq 0 ] || die "missing packages (${missing[*]}); run as root to install them"
  say "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null || die "apt-get update failed"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || die "apt-get install failed"
}

# probe_32bit: whether this machine runs 32-bit x86 programs, which the shipping i686 build needs
# under Wine. Sets RUNS_32BIT to 1 or 0, and WHY_NOT_32BIT to the reason when 0. Assembles and
# starts a 32-bit Linux program that only exits: the kernel runs it (itself, or through an
# interpreter registered with binfmt_misc), or refuses the format.
probe_32bit() {
  local dir answer
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' >"$dir/probe.s"
  if ! as --32 "$dir/probe.s" -o "$dir/probe.o" 2>/dev/null || ! ld -m elf_i386 "$dir/probe.o" -o "$dir/probe" 2>/dev/null
  then
    RUNS_32BIT=0 WHY_NOT_32BIT="no 32-bit probe could be built (binutils lacks i386 support)"
  elif answer=$("$dir/probe" 2>&1); then
    RUNS_32BIT=1 WHY_NOT_32BIT=
  else
    answer=${answer##*: }
    RUNS_32BIT=0 WHY_NOT_32BIT="this machine's kernel does not run 32-bit programs (a 32-bit probe got: ${answer:-no answer})"
  fi
  rm -rf "$dir"
}

BINFMT=/proc/sys/fs/binfmt_misc
# The i386 ELF header as qemu's own binfmt configuration matches it (any OS/ABI, executables and
# shared objects), and the interpreter that runs what matches.
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
QEMU_I386=/usr/bin/qemu-i386
# Older qemu-i386 runs Wine, but tracks its pages so slowly (about 50 s per process start under
# qemu 7.2) that a suite cannot run on it.
QEMU_MIN_MAJOR=8

# i386_interpreter: the interpreter of an enabled binfmt_misc entry that takes i386 ELF programs,
# or nothing when there is none (then the kernel runs them itself, or not at all).
i386_interpreter() {
  local entry
  [ -f "$BINFMT/register" ] || return 0
  for entry in "$BINFMT"/*; do
    case ${entry##*/} in register|status) continue ;; esac
    grep -qx enabled "$entry" 2>/dev/null || continue
    grep -qx 'magic 7f454c4601010100000000000000000002000300' "$entry" 2>/dev/null || continue
    sed -n 's/^interpreter //p' "$entry"
    return 0
  done
}

# qemu_major PROGRAM: the major version a qemu user-mode program reports, or 0.
qemu_major() {
  local version
  version=$("$1" --version 2>/dev/null | sed -n '1s/.* version \([0-9][0-9]*\)\..*/\1/p')
  printf '%s' "${version:-0}"
}

# ensure_recent_qemu: a qemu-i386 of version QEMU_MIN_MAJOR or later, from the machine's own
# Debian release when it has one, else from its backports (added as an apt source, with the same
# URI and key as the machine's Debian source, only when missing). Only that package is taken from
# backports. Silent when a recent one is there.
ensure_recent_qemu() {
  [ "$(qemu_major "$QEMU_I386")" -ge $QEMU_MIN_MAJOR ] && return 0
  [ "$(id -u)" -eq 0 ] || return 1
  export DEBIAN_FRONTEND=noninteractive
  local candidate release=()
  apt-get update -qq >/dev/null 2>&1 || return 1
  candidate=$(apt-cache policy qemu-user-static 2>/dev/null | sed -n 's/^ *Candidate: \([0-9]*:\)\{0,1\}\([0-9]*\).*/\2/p')
  if [ "${candidate:-0}" -lt $QEMU_MIN_MAJOR ]; then
    add_backports_source || return 1
    apt-get update -qq >/dev/null 2>&1 || return 1
    release=(-t "$(debian_codename)-backports")
  fi
  say "installing: qemu-user-static ${release[1]:+from ${release[1]}}"
  apt-get install -y -qq --no-install-recommends "${release[@]}" qemu-user-static >/dev/null 2>&1 || return 1
  [ "$(qemu_major "$QEMU_I386")" -ge $QEMU_MIN_MAJOR ]
}

debian_codename() { . /etc/os-release && printf '%s' "${VERSION_CODENAME:-}"; }

# add_backports_source: CODENAME-backports beside the machine's own Debian source, with its URI
# and key, unless some source names that suite already.
add_backports_source() {
  local codename uri key file=/etc/apt/sources.list.d/debian-backports.sources
  codename=$(debian_codename)
  [ -n "$codename" ] || return 1
  grep -rqsE "^[^#]*[[:space:]]$codename-backports([[:space:]]|\$)" /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
  # The first stanza (deb822) or line (one-line format) that carries the release itself.
  read -r uri key < <(
    { [ -z "$(ls /etc/apt/sources.list.d/*.sources 2>/dev/null)" ] \
        || awk -v suite="$codename" 'BEGIN { RS = "" }
             {
               uris = ""; signed = "-"; found = 0
               n = split($0, lines, "\n")
               for (i = 1; i <= n; i++) {
                 split(lines[i], f, /[[:space:]]+/)
                 if (f[1] == "URIs:") uris = f[2]
                 if (f[1] == "Signed-By:") signed = f[2]
                 if (f[1] == "Suites:") for (j = 2; j in f; j++) if (f[j] == suite) found = 1
               }
               if (found && uris != "") print uris, signed
             }' /etc/apt/sources.list.d/*.sources
      [ ! -f /etc/apt/sources.list ] \
        || awk -v suite="$codename" '/^deb[[:space:]]/ {
               line = $0; signed = "-"
               if (match(line, /signed-by=[^] ]*/)) signed = substr(line, RSTART + 10, RLENGTH - 10)
               sub(/\[[^]]*\][[:space:]]*/, "", line)
               split(line, f, /[[:space:]]+/)
               if (f[3] == suite) print f[2], signed
             }' /etc/apt/sources.list
    } | head -n 1)
  [ -n "${uri:-}" ] || return 1
  say "adding the apt source $codename-backports"
  {
    printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\n' "$uri" "$codename"
    [ "${key:--}" = - ] || printf 'Signed-By: %s\n' "$key"
  } >"$file"
}

# register_qemu_i386: qemu-i386 as binfmt_misc's interpreter of i386 ELF programs, mounting
# binfmt_misc first where it is not. Flag F opens the interpreter now, so that it also runs in
# other mount namespaces; an entry of the same name is replaced (after a qemu upgrade its open
# file is the old one).
register_qemu_i386() {
  [ "$(id -u)" -eq 0 ] || return 1
  if [ ! -f "$BINFMT/register" ]; then
    mount -t binfmt_misc binfmt_misc "$BINFMT" >/dev/null 2>&1 || return 1
  fi
  [ -f "$BINFMT/qemu-i386" ] && { echo -1 >"$BINFMT/qemu-i386" || return 1; }
  printf ':qemu-i386:M::%s:%s:%s:F' "$I386_MAGIC" "$I386_MASK" "$QEMU_I386" >"$BINFMT/register" 2>/dev/null
}

# ensure_emulated_32bit: where the kernel refuses 32-bit programs, runs them through qemu-i386.
# A registration that already works with a recent qemu is left alone. Sets RUNS_32BIT and
# WHY_NOT_32BIT as probe_32bit does, after probing again.
ensure_emulated_32bit() {
  local why=$WHY_NOT_32BIT interpreter
  interpreter=$(i386_interpreter)
  if [ "$RUNS_32BIT" = 1 ] && { [ -z "$interpreter" ] || [ "$(qemu_major "$interpreter")" -ge $QEMU_MIN_MAJOR ]; }; then
    return 0
  fi
  if ! ensure_recent_qemu; then
    RUNS_32BIT=0 WHY_NOT_32BIT="$why, and no qemu-i386 $QEMU_MIN_MAJOR or later could be installed to run them"
    return 0
  fi
  if ! register_qemu_i386; then
    RUNS_32BIT=0 WHY_NOT_32BIT="$why, and qemu-i386 could not be registered with binfmt_misc (needs root and binfmt_misc)"
    return 0
  fi
  probe_32bit
  [ "$RUNS_32BIT" = 1 ] || WHY_NOT_32BIT="$why; under qemu-i386 too: $WHY_NOT_32BIT"
}

# how_32bit: how this machine runs 32-bit programs, for the summaries: "native", or "under
# qemu-i386 10.0.2".
how_32bit() {
  local interpreter
  interpreter=$(i386_interpreter)
  if [ -z "$interpreter" ]; then
    printf 'native'
  else
    printf 'under %s %s' "${interpreter##*/}" \
      "$("$interpreter" --version 2>/dev/null | sed -n '1s/.* version \([^ ]*\).*/\1/p')"
  fi
}

# ensure_wine32: Wine's 32-bit half (wine32:i386), adding the i386 architecture first when it is
# missing; silent when everything is there. Only worth calling where 32-bit programs run.
ensure_wine32() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && [ -x "$WINE32" ] \
    && return 0
  [ "$(id -u)" -eq 0 ] || die "wine32:i386 is missing; run as root to install it"
  say "installing: wine32:i386"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 || die "cannot add i386"
  apt-get update -qq >/dev/null || die "apt-get update failed"
  apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null || die "apt-get install wine32:i386 failed"
}

# runnable_arches: the builds this machine runs, in RUN_ARCHES: the shipping i686 first where
# 32-bit programs run, natively or through qemu-i386 (Wine's 32-bit half installed for it), then
# x86_64. RUNS_32BIT and WHY_NOT_32BIT are as probe_32bit leaves them; HOW_32BIT says how they run.
runnable_arches() {
  probe_32bit
  ensure_emulated_32bit
  RUN_ARCHES=() HOW_32BIT=
  if [ "$RUNS_32BIT" = 1 ]; then
    ensure_wine32
    HOW_32BIT=$(how_32bit)
    RUN_ARCHES+=(i686)
  fi
  RUN_ARCHES+=(x86_64)
}

# wine_for ARCH: the Wine launcher that runs that build's programs.
wine_for() {
  case $1 in
    i686) printf '%s' "$WINE32" ;;
    *) printf '%s' "$WINE64" ;;
  esac
}

# ensure_test_locales: generates ja_JP.UTF-8 (for the code page 932 tests) and de_DE.UTF-8 (for
# the code page 1252 tests) unless `locale -a` lists them already; quiet when present. Without
# them Wine decodes file names and arguments wrongly.
ensure_test_locales() {
  local locale
  for locale in ja_JP de_DE; do
    locale -a 2>/dev/null | grep -qiE "^$locale\.utf-?8\$" && continue
    [ "$(id -u)" -eq 0 ] || die "locale $locale.UTF-8 is missing; run as root to generate it"
    say "generating the locale $locale.UTF-8"
    localedef -i "$locale" -f UTF-8 "$locale.UTF-8" || die "localedef $locale.UTF-8 failed"
  done
}

# build_arch ARCH [TESTS:ON|OFF] [TARGET...]: configures and builds one architecture into
# build/ARCH; all of it, or only the targets named.
build_arch() {
  local arch=$1 tests=${2:-ON} dir="$ROOT/build/$1"
  local targets=("${@:3}")
  cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
        -DVELTRANO_TESTS="$tests" -DCMAKE_BUILD_TYPE=Release >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; die "configure of $arch failed"; }
  cmake --build "$dir" -j "$(nproc)" ${targets[@]:+--target "${targets[@]}"} >"$dir.build.log" 2>&1 \
    || { grep -E 'error|Error' "$dir.build.log" | head -n 40 || true; die "build of $arch failed (see $dir.build.log)"; }
  if grep -q 'warning:' "$dir.build.log"; then
    grep 'warning:' "$dir.build.log" | sort -u | head -n 20
    die "the $arch build has warnings"
  fi
}

# start_display: a private Xvfb server; sets DISPLAY and XVFB_PID.
start_display() {
  local number
  for number in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$number" ] && { export DISPLAY=":$number"; return 0; }
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
  done
  die "could not start Xvfb"
}

# start_wine PREFIX [NEEDS_32BIT]: a fresh prefix with Wine's virtual desktop, and one persistent
# wineserver. With NEEDS_32BIT=1 the prefix runs 32-bit programs too (it must be made after
# wine32 was installed: only then does it get its syswow64).
start_wine() {
  local needs32=${2:-0}
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  # VELTRANO_REUSE_PREFIX=1 keeps an existing prefix between runs while developing.
  if [ -z "${VELTRANO_REUSE_PREFIX:-}" ] || [ ! -f "$WINEPREFIX/.ready" ] \
     || { [ "$needs32" = 1 ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; }; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null
    "$WINESERVER" -w
    # Inside Wine's own desktop, windows close and take the focus without a 2 s wait.
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null
    "$WINESERVER" -w
    touch "$WINEPREFIX/.ready"
  fi
  # Debian's Wine 8 does not look for fonts in /usr/share/wine/fonts, where fonts-wine puts
  # Tahoma and Marlett: without them dialogs fall back to another font and the caption buttons
  # draw as letters. Windows keeps its fonts in C:\windows\Fonts; so does the prefix.
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  if [ "$needs32" = 1 ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    die "the Wine prefix $WINEPREFIX has no syswow64: Wine cannot run the 32-bit build there"
  fi
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null &
  # Wine's service processes and the desktop start with the first program and keep its
  # output pipes open; start them here, detached, so ctest never waits on them.
  "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null
  setsid "$WINE64" explorer /desktop=Default,1024x768 >/dev/null 2>&1 </dev/null &
  # Wine 8's tasklist is a stub that lists nothing: look for the desktop's X window instead.
  for _ in $(seq 1 100); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Default - Wine desktop"' && break
    sleep 0.1
  done
}

# start_small_drive DIR LETTER: as root, a tmpfs of 512 KiB at DIR (one already mounted there is
# emptied and reused), mapped to the Wine drive LETTER and announced to the tests through
# VELTRANO_SMALL_DRIVE. Needs WINEPREFIX. Without root the variable stays unset.
start_small_drive() {
  local dir=$1 letter=$2
  [ "$(id -u)" -eq 0 ] || return 0
  mkdir -p "$dir"
  if mountpoint -q "$dir"; then
    find "$dir" -mindepth 1 -delete
  else
    mount -t tmpfs -o size=512k tmpfs "$dir" || die "could not mount the small drive at $dir"
  fi
  SMALL_DRIVE_DIR=$dir
  ln -sfn "$dir" "$WINEPREFIX/dosdevices/$letter:"
  export VELTRANO_SMALL_DRIVE="${letter^^}:"
}

# start_read_only_drive DIR LETTER WRITABLE_LETTER: as root, DIR/rw bind-mounted read-only at
# DIR/ro (a mount left there is reused; DIR/rw is emptied), the read-only side mapped to the Wine
# drive LETTER and the writable side to WRITABLE_LETTER, announced to the tests through
# VELTRANO_READ_ONLY_DRIVE and VELTRANO_READ_ONLY_WRITABLE. Quiet: when the mount cannot be made
# the variables stay unset and the tests that need them say so.
start_read_only_drive() {
  local dir=$1 letter=$2 writable=$3
  [ "$(id -u)" -eq 0 ] || return 0
  mkdir -p "$dir/rw" "$dir/ro" || return 0
  find "$dir/rw" -mindepth 1 -delete 2>/dev/null
  if ! mountpoint -q "$dir/ro"; then
    { mount --bind "$dir/rw" "$dir/ro" && mount -o remount,bind,ro "$dir/ro"; } >/dev/null 2>&1 \
      || { umount "$dir/ro" >/dev/null 2>&1; return 0; }
  fi
  READ_ONLY_DIR=$dir/ro
  ln -sfn "$dir/ro" "$WINEPREFIX/dosdevices/$letter:"
  ln -sfn "$dir/rw" "$WINEPREFIX/dosdevices/$writable:"
  export VELTRANO_READ_ONLY_DRIVE="${letter^^}:" VELTRANO_READ_ONLY_WRITABLE="${writable^^}:"
}

stop_session() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1
  [ -n "${SMALL_DRIVE_DIR:-}" ] && { umount "$SMALL_DRIVE_DIR" || umount -l "$SMALL_DRIVE_DIR"; } >/dev/null 2>&1
  [ -n "${READ_ONLY_DIR:-}" ] && { umount "$READ_ONLY_DIR" || umount -l "$READ_ONLY_DIR"; } >/dev/null 2>&1
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1
  return 0
}
