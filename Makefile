# The two everyday commands: `make run` and `make test`. `make bench` measures.
BUILD       ?= build
BENCH_BUILD ?= build-bench
JOBS        ?= $(shell nproc)

.PHONY: run test bench build deps clean

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
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target quillora_bench
	./$(BENCH_BUILD)/bench/quillora_bench

clean:
	rm -rf $(BUILD) $(BENCH_BUILD)
