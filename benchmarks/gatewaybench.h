#pragma once

class BenchTable;

// matrix-gateway between Videohub clients and a loopback matrix: route request
// to the last byte at the matrix, a block of 16 routes, the update reaching 32
// clients, and the gateway's resident memory with 32 clients over many routes.
class GatewayBench
{
public:
    GatewayBench(int requests, int routedRequests);
    void run(BenchTable &table);

private:
    int m_requests;
    int m_routedRequests;
};
