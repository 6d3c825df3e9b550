# What the two static Qt builds have in common, sourced by
# scripts/build-windows-qt (cross-built for Windows) and scripts/build-linux-qt
# (for the portable Linux program): Qt Core and Xml from Debian's qt6-base
# source package, of the same version as the host's Qt tools, then Core5Compat
# from its source archive; static, with nothing trmsg does not use.
#
# The sourcing script sets qt_name (its own name, for messages), qt_kind (the
# cache folder's name: qt-<kind>-<Qt version>) and the packages array, then
# calls qt_start, which prints the prefix and exits when that Qt is already
# built. It then builds with qt_build_qtbase and qt_build_compat, and ends with
# qt_finish. Commands of the build run through the qt_run array (empty: on
# this machine; the Linux build sets it to run them in a Debian root).
#
# Environment:
#   TRMSG_CACHE               cache directory (default /var/cache/trmsg); the
#                             Debian source package is kept in its src/
#   TRMSG_QT5COMPAT_ARCHIVE   Core5Compat source archive of the same Qt
#                             release (default: the one in ../shared/deps
#                             beside the repository; Qt's own
#                             qt5compat-everywhere-src-<version>.tar.xz also
#                             works)
#   TRMSG_QT_JOBS             parallel compile jobs (default 2)
#   TRMSG_KEEP_QT_BUILD=1     keep the build tree after a successful build
#
# Needs root for apt-get. Exits with status 3, and says why, when the Qt build
# cannot be made on this machine (a package cannot be installed, the sources
# cannot be had), so CI can skip the stage instead of failing.

cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD

cache=${TRMSG_CACHE:-/var/cache/trmsg}
compat_archive=${TRMSG_QT5COMPAT_ARCHIVE:-$repo/../shared/deps/qt5compat-6.4.2-core5.tar.xz}
jobs=${TRMSG_QT_JOBS:-2}
stamp_name=trmsg-qt-ready
qt_run=()

say() { echo "$qt_name: $*" >&2; }
# The Qt build cannot be made here: a reason, and exit status 3.
cannot() { say "cannot build this Qt on this machine: $*"; exit 3; }

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

apt_updated=
apt_update() {
  [ -n "$apt_updated" ] && return 0
  "$repo/scripts/apt-locked" apt-get update -qq >&2 || return 1
  apt_updated=1
}

# Installs whichever of the packages are missing.
install_packages() {
  local missing=() package
  for package in "${packages[@]}"; do installed "$package" || missing+=("$package"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -eq 0 ] || cannot "not root, and these packages are missing: ${missing[*]}"
  say "installing ${missing[*]}"
  "$repo/scripts/install-deps" "${missing[@]}" >&2 || cannot "apt-get could not install: ${missing[*]}"
}

# The host's Qt version, as Debian spells it (6.4.2+dfsg-10).
host_qt_version() { dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true; }

# The Debian mirror apt already uses for the main archive.
mirror() { "$repo/scripts/debian-root" mirror; }

# Whether apt has a deb-src entry for that mirror, one-line or deb822 style.
has_deb_src() {
  local uri
  uri=$(mirror)
  uri=${uri%/}
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
    | grep -E '^[[:space:]]*deb-src[[:space:]]' | grep -F "$uri" >/dev/null && return 0
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v uri="$uri" 'BEGIN { RS = "" } /(^|\n)Types:[^\n]*deb-src/ && index($0, uri) { found = 1 }
                       END { exit !found }' "$file" && return 0
  done
  return 1
}

# Adds a deb-src entry for that mirror and this release, unless apt has one.
ensure_deb_src() {
  has_deb_src && return 0
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 1
  say "adding a deb-src entry for $(mirror) $codename"
  cat >/etc/apt/sources.list.d/trmsg-src.sources <<EOF
Types: deb-src
URIs: $(mirror)
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt_updated=
}

# Puts the qt6-base source package (.dsc, orig and debian tarballs) of
# version $1 in the current directory: files already there are reused, the
# rest come from apt-get source.
fetch_source() {
  local version=$1 dsc=qt6-base_${1#*:}.dsc file absent=
  if [ -f "$dsc" ]; then
    for file in $(awk '/^Files:/ { f = 1; next } /^[^ ]/ { f = 0 } f && NF == 3 { print $3 }' "$dsc"); do
      [ -f "$file" ] || absent=1
    done
    [ -z "$absent" ] && return 0
  fi
  ensure_deb_src || return 1
  apt_update || return 1
  "$repo/scripts/apt-locked" apt-get source --download-only -qq "qt6-base=$version" >&2
}

# Sets version (Debian's: 6.4.2+dfsg-10), upstream (6.4.2), prefix and build;
# prints the prefix and exits when that Qt is built already. Otherwise waits
# for any other build into the same cache (a second run then finds the
# stamp), and installs the packages.
qt_start() {
  version=$(host_qt_version)
  if [ -z "$version" ]; then
    install_packages
    version=$(host_qt_version)
    [ -n "$version" ] || cannot "no host Qt 6 (qt6-base-dev) after installing it"
  fi
  upstream=${version#*:}        # drop an epoch,
  upstream=${upstream%%[+~-]*}  # and Debian's suffixes: 6.4.2
  prefix=$cache/qt-$qt_kind-$upstream
  build=$cache/build-qt-$qt_kind-$upstream
  if [ -f "$prefix/$stamp_name" ]; then
    echo "$prefix"
    exit 0
  fi
  { mkdir -p "$cache" 2>/dev/null && [ -w "$cache" ]; } || cannot "cannot write to $cache"
  exec 9>"$cache/qt-$qt_kind-$upstream.lock"
  flock 9
  if [ -f "$prefix/$stamp_name" ]; then
    echo "$prefix"
    exit 0
  fi
  install_packages
  [ -f "$compat_archive" ] || cannot "no Core5Compat source archive at $compat_archive (set TRMSG_QT5COMPAT_ARCHIVE)"
  compat_archive=$(realpath "$compat_archive")
  start=$SECONDS
}

# Unpacks Debian's qt6-base, with Debian's patches applied, into
# $build/qtbase and Core5Compat beside it (compat_src); empties the prefix.
qt_unpack() {
  mkdir -p "$cache/src"
  (cd "$cache/src" && fetch_source "$version") || cannot "could not get the qt6-base $version source package"
  rm -rf "$build" "$prefix"
  mkdir -p "$build" "$prefix"
  # (dpkg-source warns that it cannot check the .dsc's signature without
  # Debian's keyring; it still checks the tarballs against the .dsc's hashes.)
  dpkg-source -x "$cache/src/qt6-base_${version#*:}.dsc" "$build/qtbase" >"$build/unpack.log" 2>&1 \
    || { cat "$build/unpack.log" >&2; cannot "could not unpack the qt6-base $version source package"; }
  rm -f "$build"/*.orig.tar.*  # the copy of the orig tarball dpkg-source leaves beside the tree
  tar -xJf "$compat_archive" -C "$build"
  compat_src=$(find "$build" -mindepth 2 -maxdepth 2 -path '*/qt5compat*/CMakeLists.txt' -printf '%h\n' | head -n 1)
  [ -n "$compat_src" ] || cannot "$compat_archive holds no qt5compat source tree"
}

# qt_step <log name> <command...>: runs the command (through qt_run, at low
# priority) with its output in $build/<log name>.log; on failure shows the
# log's end and exits with status 1.
qt_step() {
  local log=$build/$1.log
  shift
  "${qt_run[@]}" nice -n 10 "$@" >"$log" 2>&1 \
    || { tail -n 40 "$log" >&2; say "failed: $*; see $log"; exit 1; }
}

# qt_build_qtbase <extra CMake arguments...>: Qt Core and Xml (and whatever
# the arguments add), static, installed into the prefix. Nothing trmsg does
# not use: no GUI, network, SQL, D-Bus or concurrent; no glib or zstd;
# bundled PCRE2, zlib and double-conversion rather than anything found on the
# build machine.
qt_build_qtbase() {
  qt_step qtbase-configure cmake -S "$build/qtbase" -B "$build/qtbase-build" -G Ninja \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_gui=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_glib=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_xml=ON \
    -DFEATURE_pkg_config=OFF -DFEATURE_androiddeployqt=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_doubleconversion=OFF \
    "$@"
  qt_step qtbase-build cmake --build "$build/qtbase-build" -j "$jobs"
  qt_step qtbase-install cmake --install "$build/qtbase-build"
  say "Qt Core and Xml installed after $(( (SECONDS - start) / 60 )) min"
}

# qt_build_compat <extra CMake arguments...>: Core5Compat (QTextCodec and its
# codecs), with the installed Qt's qt-cmake. It needs Qt Xml for its SAX
# classes. No iconv codec: only Qt's codecs, named as Qt names them.
qt_build_compat() {
  qt_step qt5compat-configure "$prefix/bin/qt-cmake" -S "$compat_src" -B "$build/qt5compat-build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_iconv=OFF "$@"
  qt_step qt5compat-build cmake --build "$build/qt5compat-build" -j "$jobs"
  qt_step qt5compat-install cmake --install "$build/qt5compat-build"
}

# qt_finish <compiler line> [<more stamp lines>]: keeps the licence texts of
# what is linked statically into every program built with this Qt (for the
# packages that ship those programs), writes the stamp saying what this Qt
# was built from, removes the build tree (the logs are kept in the prefix's
# build-logs/) and prints the prefix.
qt_finish() {
  mkdir -p "$prefix/licences/qtbase" "$prefix/licences/qt5compat" "$prefix/build-logs"
  cp "$build"/qtbase/LICENSES/* "$prefix/licences/qtbase/"
  cp "$compat_src"/LICENSES/* "$prefix/licences/qt5compat/"
  cp "$build"/*.log "$prefix/build-logs/"
  {
    echo "qt6-base source package: $version (Debian)"
    echo "Core5Compat source archive: $(basename "$compat_archive") sha256 $(sha256sum "$compat_archive" | cut -d' ' -f1)"
    printf '%s\n' "$@"
    echo "built: $(date -u +%Y-%m-%dT%H:%M:%SZ) in $(( SECONDS - start )) s"
  } >"$prefix/$stamp_name"
  [ "${TRMSG_KEEP_QT_BUILD:-}" = 1 ] || rm -rf "$build"
  say "done in $(( (SECONDS - start) / 60 )) min $(( (SECONDS - start) % 60 )) s; $(du -sh "$prefix" | cut -f1) in $prefix"
  echo "$prefix"
}
