#include "viewers/DataSet.h"

#include "state/StateReset.h"

namespace {

DataSetFacts g_facts;

void ForgetDataSet() {
    g_facts = DataSetFacts{};
}

const ResetWithProgramState kReset{&ForgetDataSet};

}  // namespace

void DescribeDataSet(const DataSetFacts& facts) {
    g_facts = facts;
}

const DataSetFacts& DescribedDataSet() {
    return g_facts;
}
