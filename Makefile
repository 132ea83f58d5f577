# The two everyday commands: `make run` and `make test`. `make bench` measures.
BUILD       ?= build
BENCH_BUILD ?= build-bench
PACKAGE_BUILD ?= build-package
JOBS        ?= $(shell nproc)

.PHONY: run test bench package build deps clean

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/quillora

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target quillora_bench quillora_latency
	./$(BENCH_BUILD)/bench/quillora_bench
	./$(BENCH_BUILD)/bench/quillora_latency 1 10

package: deps
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target quillora
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/quillora_*.deb

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(PACKAGE_BUILD)
