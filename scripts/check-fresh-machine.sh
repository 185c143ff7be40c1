#!/usr/bin/env bash
# Tries `make run` and then `make test`, twice, on a fresh Debian 12 machine: a
# minimal root holding only build-essential, cmake and git, with no package
# lists, entered with chroot. The committed tree (HEAD) is what is tried.
# Then `make package` there, lintian on the package, and the package installed
# with apt-get into a second fresh root, where the installed game, started as
# its desktop entry says, plays the loss replay.
#
# The root is made once with debootstrap and kept as build/fresh-root.tar;
# every check unpacks it anew into build/fresh-check (and build/fresh-install
# for the package), so one check leaves nothing behind for the next. Logs go
# to build/fresh-logs. Needs root.
# Another mirror: GLIMMERDEEP_DEBIAN_MIRROR=http://... scripts/check-fresh-machine.sh
# Only the package steps: scripts/check-fresh-machine.sh --package-only; they
# reuse build/fresh-check as an earlier check left it, builds included, when
# it is there.
set -euo pipefail

package_only=false
case "${1:-}" in
  "") ;;
  --package-only) package_only=true ;;
  *)
    echo "usage: $0 [--package-only]" >&2
    exit 2
    ;;
esac

if [[ $(id -u) -ne 0 ]]; then
  echo "$0 needs root: it runs debootstrap, mount and chroot. Run it with sudo." >&2
  exit 2
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
mirror=${GLIMMERDEEP_DEBIAN_MIRROR:-http://deb.debian.org/debian}
pristine=$repo/build/fresh-root.tar
root=$repo/build/fresh-check
install_root=$repo/build/fresh-install
staging=$repo/build/fresh-root.staging
logs=$repo/build/fresh-logs
# What make run must print without a display: it starts, then loses by itself.
expected_lines=(
  ":::::: STARTING GLIMMERDEEP  ::::::"
  " Fairy power depleted! Falling... "
  " You fell back to the bottom. Game Over. "
)
# What the installed game must print at the end of the loss replay.
replay_lines=("${expected_lines[@]}" "The replay ended as its recording did.")
# None of these belongs on a machine that only plays the game.
test_only_packages=(
  clang clang-14 libclang-rt-14-dev valgrind imagemagick imagemagick-6.q16
  xdotool libgtest-dev libgmock-dev googletest libstb-dev desktop-file-utils
  appstream lintian
)

# Mount points under a folder, deepest first.
mounts_under() {
  awk -v dir="$1" '$2 == dir || index($2, dir "/") == 1 { print $2 }' /proc/mounts | sort -r
}

# Removes a folder, but never while anything is mounted below it.
remove_tree() {
  local dir=$1
  [[ -e "$dir" ]] || return 0
  if [[ -n "$(mounts_under "$dir")" ]]; then
    echo "Still mounted below $dir; not removing it:" >&2
    mounts_under "$dir" >&2
    exit 1
  fi
  rm -rf --one-file-system "$dir"
}

# Processes left running inside a root, e.g. an X server, would keep its
# mounts busy.
stop_processes_in() {
  local dir=$1 proc_root pid
  for proc_root in /proc/[0-9]*/root; do
    [[ "$(readlink "$proc_root" 2>/dev/null)" == "$dir" ]] || continue
    pid=${proc_root#/proc/}
    pid=${pid%/root}
    kill "$pid" 2>/dev/null || true
  done
}

# debootstrap mounts proc and sys in the root it makes, and may leave them
# there when stopped half way.
unmount_all() {
  local dir mountpoint
  for dir in "$root" "$install_root" "$staging"; do
    [[ -d "$dir" ]] || continue
    stop_processes_in "$dir"
    for mountpoint in $(mounts_under "$dir"); do
      umount "$mountpoint" 2>/dev/null || umount -l "$mountpoint" || true
    done
  done
}

# mount_root <dir>
mount_root() {
  local dir=$1
  mount -t proc proc "$dir/proc"
  mount -t sysfs sysfs "$dir/sys"
  mount --bind /dev "$dir/dev"
  mount --make-rslave "$dir/dev"
  mount --bind /dev/pts "$dir/dev/pts"
  mount --make-rslave "$dir/dev/pts"
  mount -t tmpfs -o mode=1777 shm "$dir/dev/shm"
  # apt inside needs the host's name servers.
  cp -L /etc/resolv.conf "$dir/etc/resolv.conf"
}

# fresh_root <dir>: the pristine root unpacked anew into the folder, mounted.
fresh_root() {
  local dir=$1
  remove_tree "$dir"
  mkdir -p "$dir"
  tar -C "$dir" -xf "$pristine"
  mount_root "$dir"
}

make_pristine_root() {
  if ! command -v debootstrap >/dev/null; then
    echo "Installing debootstrap on this machine."
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
  fi
  echo "Making a minimal Debian 12 root with debootstrap (once; kept as $pristine)."
  remove_tree "$staging"
  mkdir -p "$staging"
  debootstrap --variant=minbase --include=build-essential,cmake,git \
    bookworm "$staging" "$mirror" >"$logs/debootstrap.log" 2>&1 || {
    echo "debootstrap failed; see $logs/debootstrap.log" >&2
    exit 1
  }
  # A fresh image ships without package lists or downloaded packages.
  rm -rf "$staging"/var/lib/apt/lists/*
  rm -f "$staging"/var/cache/apt/archives/*.deb "$staging"/var/cache/apt/*.bin
  tar -C "$staging" -cf "$pristine.partial" .
  mv "$pristine.partial" "$pristine"
  remove_tree "$staging"
}

# run_in <dir> <log> <command>: the command in the root's folder /root, as
# root with a plain environment and no display, its output also in the log;
# sets run_status. Two hours is far beyond a slow machine's build and tests.
run_in() {
  local dir=$1 log=$2 command=$3
  set +e
  timeout 7200 env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    chroot "$dir" /bin/bash -c "cd /root && $command" </dev/null 2>&1 | tee "$log"
  run_status=${PIPESTATUS[0]}
  set -e
}

# run_in_root <log> <command>: the command in the copy of the repository.
run_in_root() {
  run_in "$root" "$1" "cd glimmerdeep && $2"
}

mkdir -p "$repo/build" "$logs"
started=$SECONDS
trap unmount_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

[[ -f "$pristine" ]] || make_pristine_root

unmount_all
if [[ $package_only == true && -d "$root/root/glimmerdeep" ]]; then
  echo "Reusing $root as an earlier check left it."
  mount_root "$root"
else
  fresh_root "$root"
fi
mkdir -p "$root/root/glimmerdeep"
git -C "$repo" archive --format=tar HEAD | tar -C "$root/root/glimmerdeep" -xf -
echo "Trying $(git -C "$repo" log -1 --format='%h %s' HEAD)"

results=()
failed=0

# check_package: make package in the first root, lintian on what it made, and
# the package installed into a second fresh root, its game started there.
check_package() {
  echo "=== make package"
  local started=$SECONDS deb
  run_in_root "$logs/make-package.log" "make package"
  deb=$(cd "$root/root/glimmerdeep" && ls -t build/package/glimmerdeep_*.deb 2>/dev/null | head -n 1)
  if [[ "$run_status" != 0 || -z "$deb" ]]; then
    results+=("make package: FAILED (status $run_status${deb:+, }${deb:-, no .deb made}; see $logs/make-package.log)")
    failed=1
    return
  fi
  results+=("make package: ok ($deb, $((SECONDS - started)) s)")

  echo "=== lintian"
  run_in_root "$logs/lintian.log" "lintian $deb"
  local errors warnings
  errors=$(grep -c '^E: ' "$logs/lintian.log" || true)
  warnings=$(grep -c '^W: ' "$logs/lintian.log" || true)
  if [[ "$errors" == 0 ]]; then
    results+=("lintian: ok (no error, $warnings warnings; see $logs/lintian.log)")
  else
    results+=("lintian: FAILED ($errors errors; see $logs/lintian.log)")
    failed=1
  fi

  echo "=== apt-get install ./$(basename "$deb") in a second fresh root"
  started=$SECONDS
  fresh_root "$install_root"
  cp "$root/root/glimmerdeep/$deb" "$repo/tests/e2e/data/replays/loss.replay" "$install_root/root/"
  # Only the X server is added: without recommends, the package's own
  # dependencies must bring everything the game needs.
  run_in "$install_root" "$logs/apt-install.log" "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends ./$(basename "$deb") xvfb xauth"
  if [[ "$run_status" != 0 ]]; then
    results+=("apt-get install: FAILED (status $run_status; see $logs/apt-install.log)")
    failed=1
    return
  fi
  results+=("apt-get install: ok ($((SECONDS - started)) s)")

  echo "=== the installed game, started as its desktop entry says, plays the loss replay"
  local exec_line missing=()
  # Field codes such as %f stand for files the launcher passes; there are none.
  exec_line=$(sed -n 's/^Exec=//p' "$install_root"/usr/share/applications/*.desktop | head -n 1 | sed 's/ %[a-zA-Z]//g')
  # A desktop session's PATH, as /etc/profile gives it to a user, has /usr/games.
  run_in "$install_root" "$logs/installed-game.log" "PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games \
    xvfb-run -a -s '-screen 0 1280x1024x24' $exec_line --replay loss.replay"
  local line
  for line in "${replay_lines[@]}"; do
    grep -qxF -- "$line" "$logs/installed-game.log" || missing+=("'$line'")
  done
  if [[ "$run_status" == 0 && ${#missing[@]} -eq 0 ]]; then
    results+=("installed game ($exec_line --replay loss.replay): ok (status 0, the loss's lines seen)")
  else
    results+=("installed game ($exec_line --replay loss.replay): FAILED (status $run_status${missing[*]:+, missing ${missing[*]}}; see $logs/installed-game.log)")
    failed=1
  fi
}

report() {
  echo
  printf '%s\n' "${results[@]}"
  echo "($((SECONDS - started)) s in all)"
  exit "$failed"
}

if [[ $package_only == true ]]; then
  check_package
  report
fi

echo "=== make run"
run_started=$SECONDS
run_in_root "$logs/make-run.log" "make run"
missing_lines=()
for line in "${expected_lines[@]}"; do
  grep -qxF -- "$line" "$logs/make-run.log" || missing_lines+=("'$line'")
done
if [[ "$run_status" == 0 && ${#missing_lines[@]} -eq 0 ]]; then
  results+=("make run: ok (status 0, banner and both loss lines seen, $((SECONDS - run_started)) s)")
else
  results+=("make run: FAILED (status $run_status${missing_lines[*]:+, missing ${missing_lines[*]}}; see $logs/make-run.log)")
  failed=1
fi

installed=()
for package in "${test_only_packages[@]}"; do
  status=$(chroot "$root" dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" == "install ok installed" ]]; then
    installed+=("$package")
  fi
done
if [[ ${#installed[@]} -eq 0 ]]; then
  results+=("make run packages: ok (no test tools installed)")
else
  results+=("make run packages: FAILED (test tools installed: ${installed[*]})")
  failed=1
fi

# make test twice: a flaky test shows up as one run that fails.
for attempt in 1 2; do
  echo "=== make test ($attempt of 2)"
  test_started=$SECONDS
  run_in_root "$logs/make-test-$attempt.log" "make test"
  if [[ "$run_status" == 0 ]]; then
    results+=("make test ($attempt of 2): ok (status 0, $(grep -E 'tests passed' "$logs/make-test-$attempt.log" | tail -n 1), $((SECONDS - test_started)) s)")
  else
    results+=("make test ($attempt of 2): FAILED (status $run_status; see $logs/make-test-$attempt.log)")
    failed=1
  fi
done

check_package
report
