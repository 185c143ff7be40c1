#!/usr/bin/env bash
# Tries `make run` and then `make test`, twice, on a fresh Debian 12 machine: a
# minimal root holding only build-essential, cmake and git, with no package
# lists, entered with chroot. The committed tree (HEAD) is what is tried.
#
# The root is made once with debootstrap and kept as build/fresh-root.tar;
# every check unpacks it anew into build/fresh-check, so one check leaves
# nothing behind for the next. Logs go to build/fresh-logs. Needs root.
# Another mirror: GLIMMERDEEP_DEBIAN_MIRROR=http://... scripts/check-fresh-machine.sh
set -euo pipefail

if [[ $(id -u) -ne 0 ]]; then
  echo "$0 needs root: it runs debootstrap, mount and chroot. Run it with sudo." >&2
  exit 2
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
mirror=${GLIMMERDEEP_DEBIAN_MIRROR:-http://deb.debian.org/debian}
pristine=$repo/build/fresh-root.tar
root=$repo/build/fresh-check
staging=$repo/build/fresh-root.staging
logs=$repo/build/fresh-logs
# What make run must print without a display: it starts, then loses by itself.
expected_lines=(
  ":::::: STARTING GLIMMERDEEP  ::::::"
  " Fairy power depleted! Falling... "
  " You fell back to the bottom. Game Over. "
)
# None of these belongs on a machine that only plays the game.
test_only_packages=(
  clang clang-14 libclang-rt-14-dev valgrind imagemagick imagemagick-6.q16
  xdotool libgtest-dev libgmock-dev googletest libstb-dev desktop-file-utils
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
  for dir in "$root" "$staging"; do
    [[ -d "$dir" ]] || continue
    stop_processes_in "$dir"
    for mountpoint in $(mounts_under "$dir"); do
      umount "$mountpoint" 2>/dev/null || umount -l "$mountpoint" || true
    done
  done
}

mount_root() {
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --bind /dev "$root/dev"
  mount --make-rslave "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  mount --make-rslave "$root/dev/pts"
  mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
  # apt inside needs the host's name servers.
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
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

# run_in_root <log> <command>: the command in the copy of the repository, as
# root with a plain environment and no display, its output also in the log;
# sets run_status. Two hours is far beyond a slow machine's build and tests.
run_in_root() {
  local log=$1 command=$2
  set +e
  timeout 7200 env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    chroot "$root" /bin/bash -c "cd /root/glimmerdeep && $command" </dev/null 2>&1 | tee "$log"
  run_status=${PIPESTATUS[0]}
  set -e
}

mkdir -p "$repo/build" "$logs"
started=$SECONDS
trap unmount_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

[[ -f "$pristine" ]] || make_pristine_root

unmount_all
remove_tree "$root"
mkdir -p "$root"
tar -C "$root" -xf "$pristine"
mkdir -p "$root/root/glimmerdeep"
git -C "$repo" archive --format=tar HEAD | tar -C "$root/root/glimmerdeep" -xf -
mount_root
echo "Trying $(git -C "$repo" log -1 --format='%h %s' HEAD)"

results=()
failed=0

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

echo
printf '%s\n' "${results[@]}"
echo "($((SECONDS - started)) s in all)"
exit "$failed"
