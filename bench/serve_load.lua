-- wrk: GET a few /v1/chart JSON queries in turn on each connection.
local paths = {
  "/v1/chart?year=1984&month=3&day=20&hour=13&sex=female",
  "/v1/chart?year=1990&month=11&day=2&hour=4&minute=30&sex=male&on=2026-12-07",
  "/v1/chart?solar=2001-06-08&hour=9&sex=female&lang=zh-Hant",
  "/v1/chart?year=1955&month=3&leap=1&day=14&hour=23&sex=male&late-zi=next-day",
}
local requests = {}
for i, path in ipairs(paths) do requests[i] = wrk.format("GET", path) end
local turn = 0

request = function()
  turn = turn % #requests + 1
  return requests[turn]
end

local failures = 0
response = function(status, headers, body)
  if status ~= 200 then failures = failures + 1 end
end

done = function(summary, latency, requests)
  io.write(string.format("p99_us %d\n", latency:percentile(99)))
  io.write(string.format("non2xx %d\n", summary.errors.status))
end
