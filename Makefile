# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: run test deps game-deps build build-game build-asan package clean prove-levels

game-deps:
	@scripts/install-deps game

deps:
	@scripts/install-deps all

# The game alone, quietly: its build log is kept in build/make-run.log and
# shown when the build fails. A build folder made by `make test` keeps its
# tests configured; only the game is built here.
build-game: game-deps
	@echo "plumix: building the game in build/ (the first time takes a minute or two)"
	@mkdir -p build && : >build/make-run.log
	@[ -f build/CMakeCache.txt ] || \
		cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPLUMIX_BUILD_TESTS=OFF -DPLUMIX_BUILD_BENCH=OFF \
			>>build/make-run.log 2>&1 || { cat build/make-run.log; exit 1; }
	@cmake --build build --target plumix -j$(JOBS) >>build/make-run.log 2>&1 || \
		{ tail -n 60 build/make-run.log; echo "plumix: the build failed; the whole log is build/make-run.log"; exit 1; }

build: deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPLUMIX_BUILD_TESTS=ON -DPLUMIX_BUILD_BENCH=ON >/dev/null
	@cmake --build build -j$(JOBS)

build-asan: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPLUMIX_SANITIZE=ON -DPLUMIX_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-asan -j$(JOBS)

run: build-game
	@echo "plumix: starting build/game/plumix"
	@cd build/game && ./plumix

test: build build-asan
	QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j$(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir build-asan --output-on-failure -j$(JOBS)

# The Debian package, build/plumix_<version>_<arch>.deb: `apt install ./build/plumix_*.deb`.
package: build
	@cd build && cpack -G DEB
	@ls -1 build/plumix_*.deb

clean:
	rm -rf build build-asan

# The automatic player on the shipped levels, 50 seeds each; fails when a
# level is won too rarely or a group of ten gets easier than the one before.
prove-levels:
	@cmake -S . -B build-bot -DCMAKE_BUILD_TYPE=Release -DPLUMIX_BUILD_GUI=OFF -DPLUMIX_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-bot --target plumix-bot -j$(JOBS)
	build-bot/plumix-bot assets/Data/plumix2.bin --seeds 50 --check

# Every harness of fuzz/ in turn, on one core, for FUZZ_SECONDS each (or FUZZ_RUNS
# inputs each), built with clang in build-fuzz; `make test` replays their corpora.
.PHONY: fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLUMIX_FUZZ=ON \
		-DPLUMIX_BUILD_GUI=OFF -DPLUMIX_BUILD_TESTS=OFF -DPLUMIX_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-fuzz --target fuzz-harnesses -j$(JOBS)
	fuzz/run-all build-fuzz $(FUZZ_SECONDS) $(FUZZ_RUNS)
